#!/usr/bin/env python3
"""Checks the layers of src/: every include names its folder, no include goes up a layer, no two
folders include each other, and every header's "Depends on" line names exactly the project
modules that the header and its .cpp include.

Usage: check_layers.py [SOURCE_DIR]   (default: the repository this script lives in)
Prints one line per fault, naming the file and the include, and exits 1 on any.
"""
import os
import re
import sys

# Bottom to top. A file may include its own folder and the folders below it, never one above.
LAYERS = ['base', 'assets', 'raster', 'vector', 'platform', 'audio', 'effects', 'backends', 'core', 'app']
# Not C++: the page's script and template.
OTHER = {'web'}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
MODULE = re.compile(r'\b((?:%s)(?:/[a-z0-9_]+)+)\b' % '|'.join(LAYERS))


def sources(src):
    for folder, _, names in os.walk(src):
        for name in sorted(names):
            if name.endswith(('.h', '.cpp')):
                path = os.path.join(folder, name)
                yield os.path.relpath(path, src).replace(os.sep, '/')


def includes(src, rel):
    with open(os.path.join(src, rel), encoding='utf-8') as f:
        return INCLUDE.findall(f.read())


def depends_line(src, rel):
    """The modules a header's banner names after "Depends on:", or None when it has no such line."""
    with open(os.path.join(src, rel), encoding='utf-8') as f:
        lines = f.read().splitlines()
    text = None
    for line in lines:
        if not line.startswith('//'):
            break
        body = line[2:].strip()
        if text is None:
            if body.startswith('Depends on:'):
                text = body[len('Depends on:'):]
        elif re.match(r'^(NOTE|[A-Z][A-Za-z ]*:)', body):
            break
        else:
            text += ' ' + body
    if text is None:
        return None
    return {m for m in MODULE.findall(text)}


def check_includes(src, files, faults):
    """Include paths and layer order; returns the folder graph."""
    graph = {}
    for rel in files:
        folder = rel.split('/')[0]
        if folder not in LAYERS:
            faults.append('%s: folder %s is not in the layer order %s' % (rel, folder, ' < '.join(LAYERS)))
            continue
        for inc in includes(src, rel):
            target = inc.split('/')[0]
            if '/' not in inc or target not in LAYERS:
                faults.append('%s: #include "%s" does not name a folder of src/' % (rel, inc))
                continue
            if not os.path.isfile(os.path.join(src, inc)):
                faults.append('%s: #include "%s" names no file' % (rel, inc))
            if target != folder:
                graph.setdefault(folder, set()).add(target)
                if LAYERS.index(target) > LAYERS.index(folder):
                    faults.append('%s: #include "%s" goes up from %s to %s' % (rel, inc, folder, target))
    return graph


def find_cycle(graph):
    """A list of folders that include each other in a ring, or None."""
    state = {}

    def visit(node, path):
        state[node] = 'open'
        for nxt in sorted(graph.get(node, ())):
            if state.get(nxt) == 'open':
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path + [nxt])
                if found:
                    return found
        state[node] = 'done'
        return None

    for node in sorted(graph):
        if node not in state:
            found = visit(node, [node])
            if found:
                return found
    return None


def check_depends(src, files, faults):
    for rel in files:
        if not rel.endswith('.h') or rel.split('/')[0] not in LAYERS:
            continue
        named = depends_line(src, rel)
        if named is None:
            faults.append('%s: the banner has no "Depends on:" line' % rel)
            continue
        module = rel[:-2]
        used = set()
        for part in (rel, module + '.cpp'):
            if os.path.isfile(os.path.join(src, part)):
                used |= {inc[:-2] for inc in includes(src, part) if inc.endswith('.h')}
        used.discard(module)
        for extra in sorted(named - used):
            faults.append('%s: "Depends on" names %s, which neither %s nor its .cpp includes' % (rel, extra, rel))
        for missing in sorted(used - named):
            faults.append('%s: includes "%s.h" (itself or in its .cpp), which "Depends on" does not name'
                          % (rel, missing))


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    src = os.path.join(root, 'src')
    files = [f for f in sources(src) if f.split('/')[0] not in OTHER]
    faults = []
    graph = check_includes(src, files, faults)
    cycle = find_cycle(graph)
    if cycle:
        faults.append('folders include each other: %s' % ' -> '.join(cycle))
    check_depends(src, files, faults)
    for fault in faults:
        print(fault)
    if faults:
        sys.exit(1)
    print('layers: %d files, %s, no cycle, every "Depends on" line agrees' % (len(files), ' < '.join(LAYERS)))


if __name__ == '__main__':
    main()
