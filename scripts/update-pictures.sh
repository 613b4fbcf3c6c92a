#!/usr/bin/env bash
# Rewrites every stored reference picture from what the code draws now: the widget
# templates (tests/widget/pictures/), the desktop's screens
# (tests/widget/pictures/desktop/) and the demo's frames (tests/app/pictures/).
# Run it after a change that is meant to change how things look, then look at the
# pictures git reports as changed before committing them.
# Usage: scripts/update-pictures.sh   (builds with the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default --target widget_tests app_tests
export SDL_VIDEODRIVER=dummy DF_UPDATE_PICTURES=1
build/default/tests/widget/widget_tests --gtest_brief=1
build/default/tests/app/app_tests --gtest_brief=1 --gtest_filter='FramePictures.*'
git status --short -- tests/widget/pictures tests/app/pictures
