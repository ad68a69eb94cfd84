# Prints, as one JSON object, what ezdxf reads from a drawing's tables in table order: layer names,
# linetypes (name, description, dash lengths of group 49) and the keys of the layout dictionary.
import json
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
print(json.dumps({
    "layers": [layer.dxf.name for layer in doc.layers],
    "linetypes": [[linetype.dxf.name, linetype.dxf.description,
                   [tag.value for tag in linetype.pattern_tags.tags if tag.code == 49]]
                  for linetype in doc.linetypes],
    "layouts": list(doc.rootdict["ACAD_LAYOUT"].keys()) if "ACAD_LAYOUT" in doc.rootdict else [],
}))
