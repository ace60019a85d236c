#!/usr/bin/env python3
"""Turns the figures of one bench/run.sh run into the README's table.

    bench/table.py RESULTS            prints the table
    bench/table.py RESULTS --readme   also puts it into README.md, between its bench markers

RESULTS holds the lines the benchmarks print for this script, each starting with '@'."""
import os
import re
import sys

BEGIN, END = '<!-- bench table: begin -->', '<!-- bench table: end -->'


def parse(path):
    data = {'autosave': [], 'start': {}, 'usage': {}}
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            if not line.startswith('@'):
                continue
            kind, *fields = line[1:].rstrip('\r\n').split('|')
            if kind == 'autosave':
                store, size, program, reading, bare = fields
                data['autosave'].append((store, int(size), float(program), float(reading),
                                         float(bare)))
            elif kind == 'start':
                data['start'][fields[0]] = (float(fields[1]), float(fields[2]))
            elif kind == 'usage':
                data['usage'][fields[0]] = float(fields[1]) / 1024  # MB
            else:
                data[kind] = fields
    return data


def size_text(size):
    return '%d KB' % (size // 1024) if size < 1024 * 1024 else '%d MB' % (size // (1024 * 1024))


def ms(value):
    return ('%.3f ms' if value < 0.1 else '%.2f ms') % value


def verdict(ok):
    return 'met' if ok else '**not met**'


def table(d):
    machine, wine, date = d['machine']
    rows = []
    start, usage = d['start'], d['usage']
    floor = start['floor'][0]
    notepad = start['notepad'][0]
    rows.append(('start-up until ready for input, floor program', '%.0f ms' % floor, '', '', ''))
    # Empty cells read as a continuation of the row above.
    rows.append(('floor program that also loads the control libraries',
                 '%.0f ms' % start['floor_controls'][0], 'floor',
                 '%.2f' % (start['floor_controls'][0] / floor), ''))
    for key, name in (('registry', 'settings store'), ('files', 'pad files')):
        ready, filled = start[key]
        rows.append(('start-up, 10 x 100 KB, %s' % name,
                     '%.0f ms (all pads filled at %.0f ms)' % (ready, filled), 'floor',
                     '%.2f' % (ready / floor), 'at most 1.5: ' + verdict(ready <= 1.5 * floor)))
        rows.append(('', '', 'notepad opening 1 MB, %.0f ms' % notepad, '%.2f' % (ready / notepad),
                     'below 1: ' + verdict(ready < notepad)))
    for store, size, program, reading, bare in d['autosave']:
        what = 'RegSetValueExW' if store == 'settings store' else 'the same safe replace'
        largest = ' (largest value)' if store == 'settings store' and size > 512 * 1000 else ''
        rows.append(('autosave, %s, %s%s' % (store, size_text(size), largest),
                     '%s (reading the pad %s)' % (ms(program), ms(reading)),
                     '%s %s' % (what, ms(bare)), '%.2f' % (program / bare),
                     'at most 1.3: ' + verdict(program <= 1.3 * bare)))
    floor_ws = usage['floor']
    text_mb = 10 * 100 * 1024 * 2 / (1024 * 1024)  # the pads' text in memory, UTF-16
    limit = 1.5 * floor_ws + text_mb
    for when in ('after start', 'with all pads filled', 'after 10,000 typed characters'):
        rows.append(('working set %s' % when, '%.1f MB' % usage[when],
                     '1.5 x floor %.1f MB + text %.1f MB = %.1f MB' % (floor_ws, text_mb, limit),
                     '%.2f' % (usage[when] / limit), 'within: ' + verdict(usage[when] <= limit)))
    for first, last, name in (('after the first hide/show cycle', 'after 1,000 hide/show cycles',
                               'the first cycle'),
                              ('after the first 10 tab switches', 'after 1,000 tab switches',
                               'the first 10')):
        grew = usage[last] - usage[first]
        rows.append(('working set %s' % last, '%.1f MB' % usage[last],
                     'after %s: %.1f MB' % (name, usage[first]), '%+.1f MB' % grew,
                     'no growth: ' + verdict(grew <= 0.5)))
    size = int(d['size'][0])
    rows.append(('size of build/win32/VornNotes.exe (i686, no DLL)', '%d KB' % (size // 1024),
                 '300 KB', '%.2f' % (size / (300 * 1024)), 'under: ' + verdict(size < 300 * 1024)))

    out = ['Figures of %s on %s, %s with openbox on Xvfb; medians of one run of `bench/run.sh`.'
           % (date, machine, wine), '',
           '| what | Vorn Notes | compared with | ratio | goal |', '|---|---|---|---|---|']
    out += ['| %s |' % ' | '.join(r) for r in rows]
    notes = []
    if d.get('tabs_missed', ['0'])[0] != '0':
        notes.append('%s of the 1,000 tab clicks did not select their tab.' % d['tabs_missed'][0])
    return '\n'.join(out + ([''] + notes if notes else [])) + '\n'


def main():
    text = table(parse(sys.argv[1]))
    print(text)
    if '--readme' in sys.argv[2:]:
        readme = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'README.md')
        with open(readme, encoding='utf-8') as f:
            old = f.read()
        pattern = re.compile(re.escape(BEGIN) + '.*?' + re.escape(END), re.S)
        if not pattern.search(old):
            sys.exit('README.md has no bench table markers')
        new = pattern.sub(lambda _: BEGIN + '\n' + text + END, old)
        with open(readme, 'w', encoding='utf-8') as f:
            f.write(new)
        print('README.md updated')


if __name__ == '__main__':
    main()
