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
    data = {'autosave': [], 'replaceall': [], 'start': {}, 'usage': {}}
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            if not line.startswith('@'):
                continue
            kind, *fields = line[1:].rstrip('\r\n').split('|')
            if kind == 'autosave':
                store, size, where, *times = fields
                data['autosave'].append((store, int(size), where, *map(float, times)))
            elif kind == 'replaceall':
                data['replaceall'].append(tuple(float(x) for x in fields))
            elif kind == 'start':
                data['start'][fields[0]] = (float(fields[1]), float(fields[2]))
            elif kind == 'idle':
                data['idle'] = tuple(float(x) for x in fields)
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
    floor_controls = start['floor_controls'][0]
    rows.append(('start-up until ready for input, floor program', '%.0f ms' % floor, '', '', ''))
    # Empty cells read as a continuation of the row above.
    rows.append(('floor program that also loads the control libraries',
                 '%.0f ms' % floor_controls, 'floor', '%.2f' % (floor_controls / floor), ''))
    for key, name in (('registry', 'settings store'), ('files', 'pad files')):
        ready, filled = start[key]
        rows.append(('start-up, 10 x 100 KB, %s' % name,
                     '%.0f ms (shown pad filled at %.0f ms)' % (ready, filled),
                     'floor with the control libraries', '%.2f' % (ready / floor_controls),
                     'at most 1.3: ' + verdict(ready <= 1.3 * floor_controls)))
        rows.append(('', '', 'notepad opening 1 MB, %.0f ms' % notepad, '%.2f' % (ready / notepad),
                     'below 1: ' + verdict(ready < notepad)))
    for store, size, where, program, typing, trip, bare, outside, floor_pad, bare_beside in \
            d['autosave']:
        what = 'RegSetValueExW' if store == 'settings store' else 'the same safe replace'
        floor_ms = typing + trip + bare
        floor_outside = floor_pad + bare_beside
        rows.append(('keystroke until stored and shown, %s, %s, %s' % (
                         store, size_text(size), 'at the end' if where == 'end' else 'in the middle'), ms(program),
                     'typing %s + round trip %s + %s %s = %s' % (
                         ms(typing), ms(trip), what, ms(bare), ms(floor_ms)),
                     '%.2f' % (program / floor_ms),
                     'at most 1.5: ' + verdict(program <= 1.5 * floor_ms)))
        if not outside:
            continue  # measured in the bench's own process only
        rows.append(('', 'sent to the running program, its pad painted: %s' % ms(outside),
                     'sent to a plain control in a program of its own, painted, %s + %s %s = %s' % (
                         ms(floor_pad), what, ms(bare_beside), ms(floor_outside)),
                     '%.2f' % (outside / floor_outside),
                     'at most 1.5: ' + verdict(outside <= 1.5 * floor_outside)))
    for characters, program, own, control in d['replaceall']:
        rows.append(('select all and one key, pad file, %s characters' % format(int(characters), ','),
                     '%s, of which the program %s' % (ms(program), ms(own)),
                     'the same in a plain rich-edit control %s' % ms(control),
                     '%.2f' % (program / control),
                     "the program's part under 1 s: " + verdict(own < 1000)))
    if 'idle' in d:
        vorn_idle, notepad_idle = d['idle']
        rows.append(('processor time idle for a minute, hidden, pads in a folder where 8 have no file',
                     '%.0f ms' % vorn_idle, 'notepad.exe holding a file, the same minute %.0f ms' %
                     notepad_idle, '%.2f' % (vorn_idle / max(notepad_idle, 1.0)),
                     'within 2 x: ' + verdict(vorn_idle <= 2 * max(notepad_idle, 1.0))))
    floor_ws = usage['floor']
    text_mb = 10 * 100 * 1024 * 2 / (1024 * 1024)  # the pads' text in memory, UTF-16
    limit = 1.5 * floor_ws + text_mb
    rows.append(('working set after start', '%.1f MB' % usage['after start'],
                 '1.5 x floor %.1f MB + text %.1f MB = %.1f MB' % (floor_ws, text_mb, limit),
                 '%.2f' % (usage['after start'] / limit),
                 'within: ' + verdict(usage['after start'] <= limit)))
    for when in ('with every pad shown', 'after 10,000 typed characters'):
        rows.append(('working set %s' % when, '%.1f MB' % usage[when], 'the same',
                     '%.2f' % (usage[when] / limit), '(each shown pad has its control)'))
    for first, last, name in (('after the first 10 hide/show cycles',
                               'after 1,000 hide/show cycles', 'the first 10'),
                              ('after the first 10 tab switches', 'after 1,000 tab switches',
                               'the first 10')):
        grew = usage[last] - usage[first]
        rows.append(('working set %s' % last, '%.1f MB' % usage[last],
                     'after %s: %.1f MB' % (name, usage[first]), '%+.1f MB' % grew,
                     'at most +0.2 MB: ' + verdict(grew <= 0.2)))
    if 'find' in d:
        program, plain = map(float, d['find'])
        rows.append(('Find Next through 10 pads of 1 MB, nothing found', ms(program),
                     'a plain search of the same text in memory %s' % ms(plain),
                     '%.1f' % (program / plain), 'instant (under 100 ms): ' +
                     verdict(program < 100)))
    size = int(d['size'][0])
    rows.append(('size of build/win32/VornNotes.exe (i686, no DLL)', '%d KB' % (size // 1024),
                 '256 KB', '%.2f' % (size / (256 * 1024)), 'under: ' + verdict(size < 256 * 1024)))

    if 'dist' in d:
        setup, portable = map(int, d['dist'])
        for what, bytes_ in (('the setup, build/dist/VornNotes-&lt;version&gt;-setup.exe', setup),
                             ('the portable build/dist/VornNotes-&lt;version&gt;-win32.zip', portable)):
            rows.append(('size of ' + what, '%d KB' % (bytes_ // 1024), 'the exe it holds, %d KB'
                         % (size // 1024), '%.2f' % (bytes_ / size), '(no goal)'))

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
