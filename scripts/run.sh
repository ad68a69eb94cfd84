#!/usr/bin/env bash
# The main job: builds everything (release), then shows the parts at work - the formula analyser of the
# base library through quelto-calc, the batch tool counting with the module on the batch sample drawing
# (whole drawing and per frame), the console CAD host running a script on the sample drawing, and QS run
# there by a script on its offscreen dialog.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUELTO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j2

calc=$(find "$build" -name quelto-calc -type f | head -n 1)
host=$(find "$build" -name quelto-cad -type f -perm -u+x | head -n 1)

echo
echo "== The formula analyser (quelto-calc) =="
"$calc" --var A=1 --var B=0 "(A*B)+(A*A)" "round(sin(30)*10,2)" "mid(\"快速选择系统\",3,2)" "alpha(28,1)" \
    "china(12,0)" "stin90(12,2)" "if(A>B,\"是\",\"否\")" || true

demo=build/demo
mkdir -p "$demo"

echo
echo "== The batch tool: \"<批量处理配置>\" of samples/batch_config.cfg on samples/batch_sample.dxf =="
batch=$(find "$build" -name quelto-batch -type f | head -n 1)
cp samples/batch_sample.dxf "$demo/batch_sample.dxf"
echo "-- whole drawing:"
"$batch" --no-progress --config samples/batch_config.cfg "$demo/batch_sample.dxf"
echo "-- per title-block frame (INSERTs of 图框), with a report:"
"$batch" --no-progress --config samples/batch_config.cfg --frames-block 图框 --report "$demo/batch_frames.csv" \
    "$demo/batch_sample.dxf"
cat "$demo/batch_frames.csv"

echo
echo "== The console host: list, select by window, erase, save (samples/demo.scr) =="
cp samples/floor_plan.dxf "$demo/floor_plan.dxf"
(cd "$demo" && "../../$host" --console floor_plan.dxf --script ../../samples/demo.scr)
echo
echo "Saved: $demo/floor_plan_edited.dxf"

echo
echo "== QS in the console host: every line of the drawing, grouped as 全部直线 (samples/qs_demo.scr) =="
module="$PWD/$(find "$build" -name 'libquelto.so.*.*' -type f | head -n 1)"
# The module's settings and configurations go to the demo folder, not the user's own.
export QUELTO_REGISTRY_DIR="$PWD/$demo/settings" QUELTO_COMMON_APPDATA="$PWD/$demo/settings"
(cd "$demo" && "../../$host" --console floor_plan.dxf --load "$module" --script ../../samples/qs_demo.scr)
echo
echo "Saved: $demo/floor_plan_grouped.dxf"
