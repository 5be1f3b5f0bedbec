#!/usr/bin/env python3
"""Makes the one-file page of the show: the page template with its script, the program's glue
script, the program's WebAssembly and the icon (both as base64) written into it.

The page's script is the parts in PAGE_DIR (src/web), joined in the order of PARTS.

Usage: make_page.py TEMPLATE PAGE_DIR PROGRAM_JS PROGRAM_WASM ICON_PNG OUT
"""
import base64
import os
import re
import sys

# The parts of the page's script, each defining one object that the others call by name (when
# called, so the order matters only for start.js, which sets them going and so comes last).
PARTS = [
    'picture.js',
    'view.js',
    'pointer.js',
    'sound.js',
    'keys.js',
    'fullscreen.js',
    'notes.js',
    'panel.js',
    'costs.js',
    'pacing.js',
    'session.js',
    'run.js',
    'hook.js',
    'start.js',
]


def script(path):
    with open(path, encoding='utf-8') as f:
        text = f.read()
    # Inside <script> only these could end the element early or change how it is parsed.
    if re.search(r'</script|<!--', text, re.IGNORECASE):
        sys.exit('make_page.py: %s contains "</script" or "<!--", which cannot go inline' % path)
    return text


def page_script(page_dir):
    # The build rebuilds the page when any script in the folder changes, so each must be a part.
    unlisted = sorted(set(f for f in os.listdir(page_dir) if f.endswith('.js')) - set(PARTS))
    if unlisted:
        sys.exit('make_page.py: %s in %s not in PARTS' % (', '.join(unlisted), page_dir))
    # One script, strict as a whole: the parts share its top-level names.
    return "'use strict';\n" + '\n'.join(script(os.path.join(page_dir, part)) for part in PARTS)


def main():
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    template, page_dir, program_js, program_wasm, icon_png, out = sys.argv[1:]
    with open(template, encoding='utf-8') as f:
        page = f.read()
    with open(program_wasm, 'rb') as f:
        wasm = base64.b64encode(f.read()).decode('ascii')
    with open(icon_png, 'rb') as f:
        icon = base64.b64encode(f.read()).decode('ascii')
    parts = {'@ICON_PNG@': icon, '@PROGRAM_WASM@': wasm, '@PROGRAM_SCRIPT@': script(program_js),
             '@PAGE_SCRIPT@': page_script(page_dir)}
    for mark, text in parts.items():
        if page.count(mark) != 1:
            sys.exit('make_page.py: %s must hold %s exactly once' % (template, mark))
        page = page.replace(mark, text)
    part = out + '.part'
    with open(part, 'w', encoding='utf-8') as f:
        f.write(page)
    os.replace(part, out)
    print('%s: %d bytes (WebAssembly %d bytes as base64)' % (out, os.path.getsize(out), len(wasm)))


if __name__ == '__main__':
    main()
