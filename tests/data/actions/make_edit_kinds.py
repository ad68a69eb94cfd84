#!/usr/bin/python3
"""Regenerates edit_kinds.dxf, the drawing of the edit, grouping and undo tests: one entity of every kind
the batch edits must handle, each with known geometry, and a group "门窗" holding the first two.
Needs Debian's python3-ezdxf."""
import ezdxf

doc = ezdxf.new('R2010', setup=True)
msp = doc.modelspace()
line = msp.add_line((0, 0), (10, 0), dxfattribs={'layer': 'A'})
arc = msp.add_arc((20, 0), 5, 0, 90, dxfattribs={'layer': 'A'})
msp.add_lwpolyline([(0, 10, 0, 0, 1), (4, 10, 0, 0, 0), (4, 14, 0, 0, 0)], format='xyseb',
                   dxfattribs={'layer': 'B'})
heavy = msp.add_polyline2d([(30, 0), (34, 0), (34, 3)], dxfattribs={'layer': 'B'})
heavy.vertices[0].dxf.bulge = 0.5
msp.add_text('ABC', dxfattribs={'layer': 'T', 'height': 2, 'insert': (0, 20)})
door = doc.blocks.new('DOOR')
door.add_line((0, 0), (1, 0))
door.add_arc((0, 0), 1, 0, 90)
door.add_attdef('TAG', (0, 1.5), dxfattribs={'height': 0.5})
insert = msp.add_blockref('DOOR', (40, 10), dxfattribs={'layer': 'I'})
insert.add_auto_attribs({'TAG': 'D1'})
msp.add_linear_dim(base=(0, -5), p1=(0, -2), p2=(10, -2), dxfattribs={'layer': 'D'}).render()
hatch = msp.add_hatch(color=3, dxfattribs={'layer': 'H'})
hatch.paths.add_polyline_path([(50, 0), (54, 0), (54, 4), (50, 4)], is_closed=True)
msp.add_line((0, 30, 7), (6, 30, 7), dxfattribs={'layer': 'Z'})
msp.add_xline((0, 40), (1, 1), dxfattribs={'layer': 'X'})
group = doc.groups.new('门窗')
group.extend([line, arc])
doc.saveas('edit_kinds.dxf')
