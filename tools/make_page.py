#!/usr/bin/env python3
"""Makes the one-file page of the show: the page template with its script, the program's glue
script, the program's WebAssembly and the icon (both as base64) written into it.

Usage: make_page.py TEMPLATE PAGE_JS PROGRAM_JS PROGRAM_WASM ICON_PNG OUT
"""
import base64
import os
import re
import sys


def script(path):
    with open(path, encoding='utf-8') as f:
        text = f.read()
    # Inside <script> only these could end the element early or change how it is parsed.
    if re.search(r'</script|<!--', text, re.IGNORECASE):
        sys.exit('make_page.py: %s contains "</script" or "<!--", which cannot go inline' % path)
    return text


def main():
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    template, page_js, program_js, program_wasm, icon_png, out = sys.argv[1:]
    with open(template, encoding='utf-8') as f:
        page = f.read()
    with open(program_wasm, 'rb') as f:
        wasm = base64.b64encode(f.read()).decode('ascii')
    with open(icon_png, 'rb') as f:
        icon = base64.b64encode(f.read()).decode('ascii')
    parts = {'@ICON_PNG@': icon, '@PROGRAM_WASM@': wasm, '@PROGRAM_SCRIPT@': script(program_js), '@PAGE_SCRIPT@': script(page_js)}
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
