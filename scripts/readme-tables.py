#!/usr/bin/env python3
"""Rewrites the README's Performance and Reliability sections, between their
marker comments, from measurements, so that no figure there is typed by hand:
make bench's BUILD/bench-results.json; make soak's BUILD/soak-results.json
and BUILD/soak-demo/report.txt; make fuzz's FUZZ_BUILD/fuzz-summary.txt; and
the fault tests, found by their suite names in tests/. What is missing is
said to be missing.

    readme-tables.py [BUILD [FUZZ_BUILD]]    (build and build-fuzz by default)
"""
import json
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MIB = 1 << 20
# Suites of tests that feed the program what it must survive.
FAULT_SUITES = ('Hostile', 'MachineFaults', 'FatalError', 'BadData', 'SilentDevice', 'OrderlyEnd')
# The soak's figures as the README names them, and how each is shown.
SOAK_FIGURES = [
    ('collector_bytes', 'collector-held bytes (objects and garbage waiting)', MIB, 'MiB'),
    ('c_heap_bytes', 'C heap in use (pixels, OpenAL buffers, the rest)', MIB, 'MiB'),
    ('resident_bytes', 'resident memory', MIB, 'MiB'),
    ('open_files', 'open file descriptors', 1, ''),
    ('openal_sources', 'OpenAL sources alive (33 channels)', 1, ''),
    ('openal_buffers', 'OpenAL buffers alive', 1, ''),
    ('textures', 'GL textures alive', 1, ''),
]


def read_json(path):
    if not os.path.exists(path):
        return None
    with open(path) as f:
        return json.load(f)


def read_lines(path):
    if not os.path.exists(path):
        return []
    with open(path) as f:
        return f.read().splitlines()


def performance(build):
    results = read_json(os.path.join(build, 'bench-results.json'))
    if results is None:
        return ['No figures yet: `make bench` writes them.']
    context = results.get('context', {})
    lines = ['Measured by `make bench` on %s (%s CPUs at %s MHz; the game in a window draws with Mesa\'s '
             'software GL); written here by `scripts/readme-tables.py`.' % (context.get('date', 'an unknown date'), context.get('num_cpus', '?'),
                               context.get('mhz_per_cpu', '?')), '',
             '| Figure | Measured | Target | |', '|---|---:|---|---|']
    for row in results['rows']:
        mark = '' if row['pass'] is None else 'met' if row['pass'] else '**missed**'
        lines.append('| %s | %s | %s | %s |' % (row['figure'], row['measured'], row['target'], mark))
    return lines


def soak(build):
    lines = []
    results = read_json(os.path.join(build, 'soak-results.json'))
    if results is None:
        lines.append('No soak figures yet: `make soak` writes them.')
    else:
        lines += ['`make soak`: the bot played %s update ticks (%s hours of game time), %s games (%s by mode), '
                  'headless; %s. Bounds: how far a figure\'s peak after the warm-up of %s ticks may pass its '
                  'peak during it.' % ('{:,}'.format(results['ticks']), results['game_hours'], results['games'],
                                       ', '.join(map(str, results['games_by_mode'])),
                                       'passed' if results['passed'] else '**failed**',
                                       '{:,}'.format(results['warmup_ticks'])),
                  '', '| Figure | Start | After warm-up | End | Peak after warm-up | Bound |',
                  '|---|---:|---:|---:|---:|---:|']
        for key, name, scale, unit in SOAK_FIGURES:
            f = results['figures'][key]

            def show(v):
                return ('%.1f %s' % (v / scale, unit)) if unit else str(v)
            lines.append('| %s | %s | %s | %s | %s | %s |' % (name, show(f['start']), show(f['after_warmup']),
                                                              show(f['end']), show(f['peak_after_warmup']),
                                                              show(f['bound'])))
    report = read_lines(os.path.join(build, 'soak-demo', 'report.txt'))
    demo = dict(m.groups() for m in (re.match(r'(.+?)\s{2,}(.+)$', line) for line in report) if m)
    if report:
        lines += ['', 'Then the real game under Xvfb, played through X with the demo\'s input for %s, %s: '
                  'resident %s on the title, %s after its first three games, %s after its last, peak %s; '
                  '%s open files on the title and %s after the last game; %s frames a second on average.'
                  % (demo.get('demo time', '?'), 'passed' if report[0].endswith('passed') else '**failed**',
                     demo.get('resident on title', '?'), demo.get('resident after 3 games', '?'),
                     demo.get('resident after last game', '?'), demo.get('peak resident', '?'),
                     demo.get('open files on title', '?'), demo.get('open files after last game', '?'),
                     demo.get('average frames/s', '?'))]
    return lines


def fuzz(fuzz_build):
    lines = read_lines(os.path.join(fuzz_build, 'fuzz-summary.txt'))
    if not lines:
        return ['No fuzz figures yet: `make fuzz` writes them.']
    out = ['`make fuzz`: each reader of untrusted input under libFuzzer with AddressSanitizer and '
           'UndefinedBehaviorSanitizer.', '', '| Target | Executions | Corpus | Coverage | Features | Crashes |',
           '|---|---:|---:|---:|---:|---:|']
    for line in lines:
        target, *pairs = line.split()
        f = dict(p.split('=') for p in pairs)
        out.append('| %s | %s | %s | %s | %s | %s |' % (target, '{:,}'.format(int(f['executions'])), f['corpus'],
                                                         f['cov'], f['ft'], f['crashes']))
    return out


def fault_tests():
    found = []
    for folder, _, files in os.walk(os.path.join(ROOT, 'tests')):
        for name in sorted(files):
            if not name.endswith('.cpp'):
                continue
            with open(os.path.join(folder, name)) as f:
                for suite, test in re.findall(r'^TEST(?:_F)?\((\w+), (\w+)\)', f.read(), re.M):
                    if suite.startswith(FAULT_SUITES):
                        words = re.sub(r'(?<=[a-z0-9])(?=[A-Z])|(?<=[A-Z])(?=[A-Z][a-z])|(?<=[a-z])(?=[0-9])', ' ',
                                       test).lower()
                        found.append('- `%s.%s`: %s.' % (suite, test, words[0].upper() + words[1:]))
    return ['Fault tests in `make test`:', ''] + sorted(found) + [
        '- `Soak.ShortHeadlessPlayHoldsMemoryFilesAndSourcesFlat`: 20,000 ticks of the soak, the same bounds.',
        '- `fuzz_*`: every fuzz target replays its checked-in seeds and regressions, then 3,000 fixed mutations of '
        'them (fewer for pictures).']


def rewrite(readme, section, lines):
    begin, end = '<!-- %s:begin -->' % section, '<!-- %s:end -->' % section
    start, stop = readme.index(begin) + len(begin), readme.index(end)
    return readme[:start] + '\n' + '\n'.join(lines) + '\n' + readme[stop:]


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'build'))
    fuzz_build = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, 'build-fuzz'))
    path = os.path.join(ROOT, 'README.md')
    with open(path) as f:
        readme = f.read()
    readme = rewrite(readme, 'performance', performance(build))
    readme = rewrite(readme, 'reliability', soak(build) + [''] + fuzz(fuzz_build) + [''] + fault_tests())
    with open(path, 'w') as f:
        f.write(readme)


if __name__ == '__main__':
    main()
