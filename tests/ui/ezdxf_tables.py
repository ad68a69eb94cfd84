# Prints, as one JSON object, what ezdxf reads from a drawing's tables in table order: layer names,
# linetypes (name, description, dash lengths of group 49) and the keys of the layout dictionary; and
# "implied": the layers entities name (in any block, model and paper space included) that the LAYER
# table lacks, compared without case, sorted.
import json
import sys

import ezdxf

doc = ezdxf.readfile(sys.argv[1])
defined = {layer.dxf.name.casefold() for layer in doc.layers}
implied = {}
for block in doc.blocks:
    for entity in block:
        # ezdxf models a few kinds (ACAD_TABLE) without a layer; they count as on layer 0 here.
        name = entity.dxf.get("layer", "0") if entity.dxf.is_supported("layer") else "0"
        if name.casefold() not in defined:
            implied.setdefault(name.casefold(), name)
print(json.dumps({
    "layers": [layer.dxf.name for layer in doc.layers],
    "implied": sorted(implied.values()),
    "linetypes": [[linetype.dxf.name, linetype.dxf.description,
                   [tag.value for tag in linetype.pattern_tags.tags if tag.code == 49]]
                  for linetype in doc.linetypes],
    "layouts": list(doc.rootdict["ACAD_LAYOUT"].keys()) if "ACAD_LAYOUT" in doc.rootdict else [],
}))
