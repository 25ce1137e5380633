#!/usr/bin/env bash
# check-layers.sh [SRC]: each folder under src/ may include only the folders before it in this
# order, so that the dependencies between folders point one way and no cycle can come back.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
order=(settings registry platform model reports backup desktop search editing about app tools viewer)
status=0
for ((i = 0; i < ${#order[@]}; i++)); do
    dir=${order[i]}
    allowed=" ${order[*]:0:i} $dir "
    while IFS= read -r hit; do
        [ -n "$hit" ] || continue
        used=${hit##*#include \"}
        used=${used%/}
        if [[ $allowed != *" $used "* ]]; then
            echo "${hit%%:*} includes $used/, which does not come before $dir/"
            status=1
        fi
    done <<<"$(grep -rHoE '#include "[a-z_]+/' "$src/$dir" || true)"
done
for d in "$src"/*/; do
    name=$(basename "$d")
    if [[ " ${order[*]} " != *" $name "* ]]; then
        echo "src/$name/ has no place in the order of folders"
        status=1
    fi
done
exit $status
