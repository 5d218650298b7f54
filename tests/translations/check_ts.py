#!/usr/bin/env python3
"""Checks the English translation file against the program's sources.

usage: check_ts.py LUPDATE SOURCE_DIR TS_FILE

- lupdate, run afresh over the sources, finds exactly the texts the file
  holds: none is missing (a text added without its English) and none is left
  over;
- every text has a finished English translation, without Cyrillic letters,
  with the same placeholders (%1, %2, ...) and the same number of lines as its
  Russian source.
"""
import collections
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def messages(path):
    root = ET.parse(path).getroot()
    for context in root.iter('context'):
        name = context.findtext('name')
        for m in context.iter('message'):
            yield name, m.findtext('source'), m.find('translation')


def main():
    lupdate, sources, ts = sys.argv[1:4]
    faults = []
    with tempfile.TemporaryDirectory() as tmp:
        fresh = os.path.join(tmp, 'fresh.ts')
        subprocess.run([lupdate, '-silent', '-locations', 'none', '-extensions', 'cpp,h',
                        '-tr-function-alias', 'QT_TRANSLATE_NOOP+=FISH_TR', sources, '-ts', fresh],
                       check=True, stdout=subprocess.DEVNULL)
        found = {(c, s) for c, s, _ in messages(fresh)}
    held = {(c, s) for c, s, _ in messages(ts)}
    for c, s in sorted(found - held):
        faults.append(f'not in the translation file: [{c}] {s!r}')
    for c, s in sorted(held - found):
        faults.append(f'no longer in the sources: [{c}] {s!r}')

    placeholder = re.compile(r'%\d+')
    for c, s, t in messages(ts):
        text = t.text or '' if t is not None else ''
        where = f'[{c}] {s!r}'
        if t is None or t.get('type') in ('unfinished', 'vanished', 'obsolete') or not text:
            faults.append(f'no English for {where}')
            continue
        if re.search('[\u0400-\u04FF]', text):
            faults.append(f'Cyrillic in the English of {where}: {text!r}')
        if collections.Counter(placeholder.findall(s)) != collections.Counter(placeholder.findall(text)):
            faults.append(f'placeholders differ in {where}: {text!r}')
        if s.count('\n') != text.count('\n'):
            faults.append(f'lines differ in {where}: {text!r}')
    for f in faults:
        print(f)
    print(f'{len(held)} texts, {len(faults)} faults')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
