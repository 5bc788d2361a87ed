#!/usr/bin/env bash
# Renders every model of assets/ from two angles into docs/models/ with qelmodel
# (front: from above, ahead and to the left; rear: from below, behind and to the right).
# Usage: tools/assetgen/render_pictures.sh BUILD_DIR   (a build dir holding tools/qelmodel/qelmodel)
set -euo pipefail
cd "$(dirname "$0")/../.."
qelmodel="$(realpath "${1:?usage: render_pictures.sh BUILD_DIR}")/tools/qelmodel/qelmodel"
mkdir -p docs/models
for model in f22 daikon box tsubo ball tsume sky2; do
  "$qelmodel" render "assets/$model.x" "docs/models/$model-front.png" --yaw 210 --pitch -25
  "$qelmodel" render "assets/$model.x" "docs/models/$model-rear.png" --yaw 30 --pitch 20
done
rm -f assets/QelDebug.txt  # the loader's log, written where the models are loaded
