#!/usr/bin/python3
"""Regenerates batch_sample.dxf, the sample drawing of quelto-batch: three sheets side by side, each
framed by an INSERT of the title block "图框", with walls, doors, furniture, Chinese texts and a dimension
on their own layers, and a few walls outside every sheet. The configuration "<批量处理配置>" of
batch_config.cfg (LINE on layer "墙体" longer than 1000) finds 5, 0 and 3 walls in the sheets and 10 in the
whole drawing. Needs Debian's python3-ezdxf."""
import ezdxf

SHEET_WIDTH, SHEET_HEIGHT, SHEET_GAP = 4200, 2970, 800

doc = ezdxf.new('R2010', setup=True)
doc.header['$INSUNITS'] = 4  # millimetres
for name, color in [('墙体', 7), ('门窗', 4), ('家具', 3), ('文字', 2), ('标注', 1), ('图框', 8)]:
    doc.layers.add(name, color=color)

frame = doc.blocks.new('图框')
frame.add_lwpolyline([(0, 0), (SHEET_WIDTH, 0), (SHEET_WIDTH, SHEET_HEIGHT), (0, SHEET_HEIGHT)], close=True)
frame.add_lwpolyline([(SHEET_WIDTH - 1800, 0), (SHEET_WIDTH - 1800, 400), (SHEET_WIDTH, 400)])
frame.add_text('快速选择示例', dxfattribs={'height': 120}).set_placement((SHEET_WIDTH - 1700, 140))

msp = doc.modelspace()


def wall(x0, y0, x1, y1):
    msp.add_line((x0, y0), (x1, y1), dxfattribs={'layer': '墙体'})


origins = [(index * (SHEET_WIDTH + SHEET_GAP), 0) for index in range(3)]
for sheet, (x, y) in enumerate(origins, start=1):
    msp.add_blockref('图框', (x, y), dxfattribs={'layer': '图框'})
    msp.add_text(f'第{sheet}张 平面图', dxfattribs={'layer': '文字', 'height': 150}).set_placement(
        (x + 300, y + 2600))

# Sheet 1: a room of four long walls, a partition longer than 1000 and two short stubs.
x, y = origins[0]
wall(x + 400, y + 600, x + 3400, y + 600)
wall(x + 3400, y + 600, x + 3400, y + 2400)
wall(x + 3400, y + 2400, x + 400, y + 2400)
wall(x + 400, y + 2400, x + 400, y + 600)
wall(x + 1900, y + 600, x + 1900, y + 1800)
wall(x + 1900, y + 2000, x + 1900, y + 2400)
wall(x + 3400, y + 1500, x + 3700, y + 1500)
msp.add_arc((x + 1900, y + 1800), 200, 0, 90, dxfattribs={'layer': '门窗'})
msp.add_circle((x + 1100, y + 1500), 300, dxfattribs={'layer': '家具'})
msp.add_text('客厅', dxfattribs={'layer': '文字', 'height': 150}).set_placement((x + 900, y + 1900))

# Sheet 2: no long walls - short wall pieces, furniture, a text block and a dimension.
x, y = origins[1]
for offset in range(0, 2400, 600):
    wall(x + 600 + offset, y + 1200, x + 1100 + offset, y + 1200)
msp.add_lwpolyline([(x + 600, y + 600), (x + 2400, y + 600), (x + 2400, y + 1000), (x + 600, y + 1000)],
                   close=True, dxfattribs={'layer': '家具'})
msp.add_ellipse((x + 3000, y + 2000), major_axis=(500, 0), ratio=0.5, dxfattribs={'layer': '家具'})
msp.add_mtext('说明：\\P本图仅作示例', dxfattribs={'layer': '文字', 'char_height': 100,
                                               'insert': (x + 600, y + 2300)})
msp.add_linear_dim(base=(x + 600, y + 400), p1=(x + 600, y + 600), p2=(x + 2400, y + 600),
                   dxfattribs={'layer': '标注'}).render()
msp.add_line((x + 600, y + 1600), (x + 2600, y + 1600), dxfattribs={'layer': '门窗'})

# Sheet 3: three long walls, one of them red, and a short one.
x, y = origins[2]
wall(x + 500, y + 500, x + 3500, y + 500)
wall(x + 500, y + 500, x + 500, y + 2000)
msp.add_line((x + 500, y + 2000), (x + 3500, y + 2000), dxfattribs={'layer': '墙体', 'color': 1})
wall(x + 3500, y + 500, x + 3500, y + 1300)
msp.add_point((x + 2000, y + 1200), dxfattribs={'layer': '家具'})
msp.add_text('卧室', dxfattribs={'layer': '文字', 'height': 150}).set_placement((x + 1800, y + 1000))

# Outside every sheet: two long walls across the gaps and a short one.
wall(-600, -600, 3 * SHEET_WIDTH + 2 * SHEET_GAP, -600)
wall(-600, -600, -600, SHEET_HEIGHT)
wall(-600, SHEET_HEIGHT + 300, 0, SHEET_HEIGHT + 300)

doc.saveas('batch_sample.dxf')
