#!/usr/bin/python3
"""Regenerates floor_plan.dxf, the sample drawing of the demo: a small flat plan with Chinese layer, block
and text names, a dimension, and a paper-space layout with a viewport. Needs Debian's python3-ezdxf."""
import ezdxf

doc = ezdxf.new('R2010', setup=True)
doc.layers.add('墙体', color=7)
doc.layers.add('门窗', color=4)
doc.layers.add('家具', color=3, linetype='DASHED')
doc.layers.add('文字', color=2)
msp = doc.modelspace()
for a, b in [((0, 0), (12000, 0)), ((12000, 0), (12000, 8000)), ((12000, 8000), (0, 8000)),
             ((0, 8000), (0, 0)), ((7000, 0), (7000, 5000))]:
    msp.add_line(a, b, dxfattribs={'layer': '墙体'})
msp.add_lwpolyline([(7000, 5900), (7000, 8000)], dxfattribs={'layer': '墙体'})
msp.add_arc((7000, 5000), 900, 0, 90, dxfattribs={'layer': '门窗'})
msp.add_line((2000, 8000), (4000, 8000), dxfattribs={'layer': '门窗', 'color': 5})
msp.add_line((9000, 0), (11000, 0), dxfattribs={'layer': '门窗', 'color': 5})
table = doc.blocks.new('餐桌')
table.add_lwpolyline([(0, 0), (1600, 0), (1600, 900), (0, 900)], close=True)
table.add_circle((800, 450), 200)
for index, (x, y) in enumerate([(1000, 1000), (1000, 3000), (4500, 1000)]):
    msp.add_blockref('餐桌', (x, y), dxfattribs={'layer': '家具', 'rotation': 90 if index == 2 else 0})
msp.add_circle((9500, 3000), 600, dxfattribs={'layer': '家具'})
msp.add_ellipse((9500, 6500), major_axis=(800, 0), ratio=0.5, dxfattribs={'layer': '家具'})
msp.add_text('客厅', dxfattribs={'layer': '文字', 'height': 350}).set_placement((3000, 6000))
msp.add_text('卧室', dxfattribs={'layer': '文字', 'height': 350}).set_placement((9000, 4500))
msp.add_mtext('平面图 1:100\\P示例图纸', dxfattribs={'layer': '文字', 'char_height': 250, 'insert': (0, -1000)})
msp.add_linear_dim(base=(0, -500), p1=(0, 0), p2=(12000, 0), dxfattribs={'layer': '文字'}).render()
layout = doc.layouts.new('布局1')
layout.add_text('快速选择示例', dxfattribs={'height': 5}).set_placement((20, 20))
layout.add_viewport(center=(150, 100), size=(250, 160), view_center_point=(6000, 4000), view_height=9000)
doc.saveas('floor_plan.dxf')
