#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Safe to run again.
set -euo pipefail
"$(dirname "$0")/install-packages.sh" cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools \
  libgl-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth fonts-dejavu-core fonts-liberation \
  python3
