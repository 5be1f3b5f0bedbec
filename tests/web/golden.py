#!/usr/bin/env python3
"""The golden record made again by the recorder built to WebAssembly, under Node (tests/golden/check.py).
Usage: golden.py RECORD SOURCE_DIR BUILD_DIR. Exit 77 (skipped) without node or the web build."""
import os
import shutil
import subprocess
import sys

from harness import web_dir

record, src, build = sys.argv[1:]
runner = os.path.join(web_dir(src, build), 'voxa7100-record.js')
if not shutil.which('node') or not os.path.exists(runner):
    print('SKIP: node or %s is missing (bash tools/build-web.sh)' % runner)
    sys.exit(77)
sys.exit(subprocess.run([sys.executable, os.path.join(src, 'tests', 'golden', 'check.py'), record, 'node', runner]).returncode)
