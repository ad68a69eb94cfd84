#!/usr/bin/env bash
# Regenerates batch_config.cfg, the sample configuration file of quelto-batch, with quelto-batch-config:
# "<批量处理配置>" (the walls: LINE on layer 墙体 longer than 1000) and a few named configurations.
# Usage: bash samples/make_batch_config.sh [BUILD_DIR] (default build/release).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
config_tool="$build/tools/quelto-batch-config"
output=samples/batch_config.cfg

rm -f "$output"
"$config_tool" "$output" --type 直线 --layer 墙体 --row '213,>,1000'
"$config_tool" "$output" --name 长墙 --type 直线 --layer 墙体 --row '213,>=,3000'
"$config_tool" "$output" --name 红色墙线 --type 直线 --layer 墙体 --color 1
"$config_tool" "$output" --name 家具中的圆 --type 圆 --layer 家具
"$config_tool" "$output" --name 房间名称 --type 单行文本 --layer 文字
"$config_tool" "$output" --name 水平短墙 --type 直线 --layer 墙体 --row '213,<,1000' --row '214,=,0'
echo "written: $output"
