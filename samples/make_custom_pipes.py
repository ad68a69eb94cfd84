#!/usr/bin/python3
"""Regenerates custom_pipes.dxf and custom_pipes.dom, the sample of custom entity selection: a drawing with
pipes of a third-party application (DXF class QXPIPE, with their data in its own groups and an extended-data
pressure) beside ordinary lines, and the definition file that describes that class to the quick selection.

The drawing is made with Debian's python3-ezdxf, the pipes are written as DXF text (ezdxf does not create
entities of unknown classes). The definition file is laid out here byte by byte, independently of Quelto's
own writer: little-endian integers and texts as 0xFF 0xFFFE, a length, UTF-16LE units."""
import io
import struct

import ezdxf
from ezdxf.entities import DXFClass

PIPES = [  # start, end, diameter (None: not stored), material, number, system, pressure
    ((0, 0, 0), (6000, 0, 0), 150.0, 1, 101, '给水', 0.6),
    ((6000, 0, 0), (6000, 4000, 0), 150.0, 1, 102, '给水', 0.6),
    ((0, 2000, 0), (4000, 2000, 0), 100.0, 2, 201, '排水', None),
    ((4000, 2000, 0), (4000, 5000, 0), 100.0, 3, 202, '排水', None),
    ((1000, 6000, 0), (5000, 6000, 300), None, 3, 301, '消防', 1.0),
]
MATERIALS = ['1=钢管', '2=铸铁管', '3=PPR管']


def pipe_text(handle, owner, start, end, diameter, material, number, system, pressure):
    groups = [(0, 'QXPIPE'), (5, handle), (330, owner), (100, 'AcDbEntity'), (8, '管道'), (100, 'QxPipe')]
    groups += [(10 + axis * 10, start[axis]) for axis in range(3)]
    groups += [(11 + axis * 10, end[axis]) for axis in range(3)]
    if diameter is not None:
        groups.append((40, diameter))
    groups += [(70, material), (90, number), (1, system)]
    if pressure is not None:
        groups += [(1001, 'QXDATA'), (1040, pressure)]
    return ''.join(f'{code:>3}\n{value}\n' for code, value in groups)


def make_drawing(path):
    doc = ezdxf.new('R2010', setup=True)
    doc.header['$INSUNITS'] = 4  # millimetres
    doc.layers.add('管道', color=5)
    doc.layers.add('墙体', color=7)
    doc.appids.new('QXDATA')
    pipe_class = DXFClass.new(doc=doc)
    pipe_class.update_dxf_attribs({'name': 'QXPIPE', 'cpp_class_name': 'QxPipe', 'app_name': 'QxHvac',
                                   'flags': 0, 'was_a_proxy': 0, 'is_an_entity': 1})
    doc.classes.register(pipe_class)
    msp = doc.modelspace()
    for a, b in [((-500, -500), (6500, -500)), ((6500, -500), (6500, 6500)), ((6500, 6500), (-500, 6500)),
                 ((-500, 6500), (-500, -500))]:
        msp.add_line(a, b, dxfattribs={'layer': '墙体'})
    handles = [doc.entitydb.next_handle() for _ in PIPES]
    owner = msp.block_record_handle
    pipes = ''.join(pipe_text(handle, owner, *pipe) for handle, pipe in zip(handles, PIPES))
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    entities = text.index('ENTITIES\n')
    end = text.index('  0\nENDSEC\n', entities)
    with open(path, 'w', encoding='utf-8', newline='\n') as file:
        file.write(text[:end] + pipes + text[end:])
    return handles


def archive_text(text):
    units = text.encode('utf-16-le')
    count = len(units) // 2
    length = bytes([count]) if count < 0xFF else b'\xff' + struct.pack('<H', count)
    return b'\xff\xfe\xff' + length + units


def make_definitions(path):
    def prop(name, kind, group_code, items=()):
        body = struct.pack('<i', 1) + archive_text(name) + struct.pack('<i', kind)
        body += archive_text('') + archive_text('') + struct.pack('<ii', group_code, len(items))
        return body + b''.join(archive_text(item) for item in items)

    props = [prop('起点', 1, 10), prop('终点', 1, 11), prop('管径', 3, 40), prop('材质', 4, 70, MATERIALS),
             prop('编号', 5, 90), prop('系统', 6, 1), prop('压力', 3, 1040)]
    data = struct.pack('<ii', 1, 1) + archive_text('水暖通') + archive_text('示例：第三方管道实体')
    data += archive_text('') + struct.pack('<i', 1)
    data += struct.pack('<i', 1) + archive_text('管道') + archive_text('QXPIPE') + archive_text('')
    data += struct.pack('<i', len(props)) + b''.join(props)
    with open(path, 'wb') as file:
        file.write(data)


if __name__ == '__main__':
    print('pipes:', ' '.join(make_drawing('custom_pipes.dxf')))
    make_definitions('custom_pipes.dom')
