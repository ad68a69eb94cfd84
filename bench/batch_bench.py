#!/usr/bin/python3
"""quelto-batch on the 1,000,000-entity generated drawing against python3-ezdxf doing the same count.

The configuration "<批量处理配置>" selects LINE on layer WALLS with two property rows (length > 0.5,
angle >= 20 degrees). quelto-batch runs it (drawing loaded in a worker process, module called, result
printed); ezdxf reads the same file, queries LINE[layer=="WALLS"] and filters by length and angle. Reports
both wall times, their ratio, the counts (which must agree) and peak memory against the file size.

Usage: bench/batch_bench.py [--build build/release] [--runs 3]
The drawing is /tmp/quelto_bench_1m.dxf, written by build/release/bench/dxf_load_bench when missing."""
import argparse
import json
import math
import os
import resource
import subprocess
import sys
import tempfile
import time

DRAWING = os.path.join(tempfile.gettempdir(), 'quelto_bench_1m.dxf')

EZDXF_COUNT = r'''
import json, math, resource, sys, time
import ezdxf
start = time.perf_counter()
document = ezdxf.readfile(sys.argv[1])
count = 0
for line in document.modelspace().query('LINE[layer=="WALLS"]'):
    start_point, end_point = line.dxf.start, line.dxf.end
    length = start_point.distance(end_point)
    angle = math.degrees(math.atan2(end_point.y - start_point.y, end_point.x - start_point.x)) % 360.0
    if length > 0.5 and angle >= 20.0:
        count += 1
seconds = time.perf_counter() - start
print(json.dumps({"count": count, "seconds": seconds,
                  "peak_bytes": resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024}))
'''


def ensure_drawing(build):
    if os.path.exists(DRAWING):
        return
    generator = os.path.join(build, 'bench', 'dxf_load_bench')
    print(f'generating {DRAWING} with {generator} ...', flush=True)
    subprocess.run([generator, '--benchmark_filter=^BM_LoadAscii/'], check=True, stdout=subprocess.DEVNULL)
    if not os.path.exists(DRAWING):
        sys.exit(f'{generator} did not write {DRAWING}')


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--build', default='build/release')
    parser.add_argument('--runs', type=int, default=3)
    options = parser.parse_args()
    build = os.path.abspath(options.build)
    ensure_drawing(build)

    scratch = tempfile.mkdtemp(prefix='quelto-batch-bench-')
    environment = dict(os.environ, QUELTO_REGISTRY_DIR=scratch, QUELTO_COMMON_APPDATA=scratch)
    configuration = os.path.join(scratch, 'bench.cfg')
    subprocess.run([os.path.join(build, 'tools', 'quelto-batch-config'), configuration, '--type', '直线',
                    '--layer', 'WALLS', '--row', '213,>,0.5', '--row', '214,>=,20'], check=True, env=environment)

    batch = [os.path.join(build, 'tools', 'quelto-batch'), '--no-progress', '--config', configuration, DRAWING]
    times = []
    output = ''
    for _ in range(options.runs):
        start = time.perf_counter()
        output = subprocess.run(batch, check=True, env=environment, capture_output=True, text=True).stdout
        times.append(time.perf_counter() - start)
    # The largest of the waited-for processes: quelto-batch and its worker, which holds the drawing.
    batch_peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
    text = output.split(': ', 1)[1].split(' (')[0]
    batch_count = int(text.strip('共个'))

    ezdxf = json.loads(subprocess.run(['/usr/bin/python3', '-c', EZDXF_COUNT, DRAWING], check=True,
                                      capture_output=True, text=True, cwd='/').stdout)
    file_size = os.path.getsize(DRAWING)
    best = min(times)
    print(f'drawing: {DRAWING} ({file_size / 1e6:.1f} MB)')
    print(f'quelto-batch: {text}, best of {options.runs}: {best:.2f} s '
          f'(all: {", ".join(f"{t:.2f}" for t in times)}), peak memory {batch_peak / 1e6:.0f} MB '
          f'= {batch_peak / file_size:.2f} x file size')
    print(f'ezdxf (read + query + filter): {ezdxf["count"]} lines, {ezdxf["seconds"]:.1f} s, '
          f'peak memory {ezdxf["peak_bytes"] / 1e6:.0f} MB')
    print(f'counts equal: {batch_count == ezdxf["count"]}; quelto-batch is {ezdxf["seconds"] / best:.1f} x faster')
    return 0 if batch_count == ezdxf['count'] else 1


if __name__ == '__main__':
    sys.exit(main())
