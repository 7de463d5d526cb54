#!/usr/bin/env python3
"""The table `make bench` ends with: every figure the benchmark programs and
scripts/run-benchmarks.sh left in BUILD/bench/results, beside its target with
a pass or fail mark. Printed, and kept with the raw figures in
BUILD/bench-results.json, which scripts/readme-tables.py reads.

    bench-table.py BUILD
"""
import json
import os
import re
import sys

MIB = 1 << 20


def load(results):
    """Benchmark entries by program and name (without the /iterations:N part), the
    name-value lines of figures.txt, and the machine the benchmarks ran on."""
    runs, figures, context = {}, {}, {}
    for file in sorted(os.listdir(results)):
        path = os.path.join(results, file)
        if file.endswith('.json'):
            with open(path) as f:
                output = json.load(f)
            context = output.get('context', context)
            for entry in output.get('benchmarks', []):
                runs[(file[:-5], entry['name'].split('/')[0])] = entry
        elif file == 'figures.txt':
            with open(path) as f:
                for line in f:
                    name, value = line.split()
                    figures[name] = float(value)
    return runs, figures, context


def demo_figures(path):
    """The demo report's memory lines: 'peak resident        170.2 MiB' and the like."""
    found = {}
    if os.path.exists(path):
        with open(path) as f:
            for line in f:
                m = re.match(r'(resident on title|resident at end|peak resident)\s+([\d.]+) MiB', line)
                if m:
                    found[m.group(1)] = float(m.group(2))
    return found


def main():
    build = sys.argv[1]
    runs, figures, context = load(os.path.join(build, 'bench', 'results'))
    demo = demo_figures(os.path.join(build, 'bench', 'demo', 'report.txt'))

    def counter(program, name, key):
        entry = runs.get((program, name))
        return None if entry is None or key not in entry else float(entry[key])

    def worst(values, pick):
        values = [v for v in values if v is not None]
        return pick(values) if values else None

    plays = ('BM_Play', 'BM_PlayWithTheTune')
    update_rate = worst([counter('play_bench', n, 'update_ticks_per_s') for n in plays], min)
    tick_rate = worst([counter('play_bench', n, 'update_and_replay_ticks_per_s') for n in plays], min)
    busiest_ms = counter('replay_bench', 'BusiestFrameOfTheRecordedBusyGame', 'cpu_time')
    busiest_calls = counter('replay_bench', 'BusiestFrameOfTheRecordedBusyGame', 'draw_calls')
    busiest_records = counter('replay_bench', 'BusiestFrameOfTheRecordedBusyGame', 'records')
    worst_step = counter('collector_bench', 'BM_CollectorStepPause', 'worst_step_ms')
    gc_bytes = worst([counter('play_bench', n, 'gc_bytes_per_tick') for n in plays], max)
    start_tick = worst([counter('play_bench', 'BM_GameStart', k)
                        for k in ('first_game_slowest_tick_ms', 'second_game_slowest_tick_ms')], max)
    title_ticks = counter('title_bench', 'StartUpToTheTitle', 'ticks')
    title_ms = counter('title_bench', 'StartUpToTheTitle', 'ms')
    assets_ms = figures.get('asset_generation_ms')
    owns = [figures.get(k) for k in ('headless_peak_resident_kib', 'headless_full_screen_peak_resident_kib')]
    own_kib = None if None in owns else max(owns)
    peak_mib = demo.get('peak resident')

    def fmt(value, pattern):
        return 'missing' if value is None else pattern.format(value)

    # figure, measured, target, whether it is met (None: reported only)
    rows = [
        ('headless play update ticks per second, bot, all modes (' + fmt(tick_rate, '{:,.0f}')
         + ' with every frame rendered)', fmt(update_rate, '{:,.0f}'), '50,000',
         None if update_rate is None else update_rate >= 50000),
        ('our CPU per rendered frame, busiest frame of the recorded busy game ('
         + fmt(busiest_records, '{:.0f}') + ' records)', fmt(busiest_ms, '{:.3f} ms'), '0.5 ms',
         None if busiest_ms is None else busiest_ms <= 0.5),
        ('draw calls per frame (that frame)', fmt(busiest_calls, '{:.0f}'), '50',
         None if busiest_calls is None else busiest_calls <= 50),
        ('collector worst step', fmt(worst_step, '{:.3f} ms'), '1 ms',
         None if worst_step is None else worst_step <= 1),
        ('bytes allocated per play tick (collector)', fmt(gc_bytes, '{:.2f}'), '0 outside text',
         None if gc_bytes is None else gc_bytes == 0),
        ('slowest update tick of a game start, first game of a run included', fmt(start_tick, '{:.3f} ms'),
         '4 ms', None if start_tick is None else start_tick <= 4),
        ('start-up to the title, headless (start-up, StartGame, the loader)',
         fmt(title_ticks, '{:.0f} ticks') + ', ' + fmt(title_ms, '{:.0f} ms'), '(report)', None),
        ('asset generation (assetgen into a fresh folder)', fmt(assets_ms, '{:.0f} ms'), '(report)', None),
        ('peak resident memory of the real game over the demo (VmHWM; GL on llvmpipe)',
         fmt(peak_mib, '{:.1f} MiB'), '(report)', None),
        ("the game's own share: peak resident memory of the busy game replayed headless, "
         "in its window and at full-screen size",
         fmt(None if own_kib is None else own_kib / 1024, '{:.1f} MiB'), 'under 64 MiB',
         None if own_kib is None else own_kib * 1024 < 64 * MIB),
    ]
    # A target whose figure is missing counts as not met.
    table = [{'figure': f, 'measured': m, 'target': t,
              'pass': ok if ok is not None or t == '(report)' else False} for f, m, t, ok in rows]

    width = [max(len(r[k]) for r in table) for k in ('figure', 'measured', 'target')]
    line = '| {:<%d} | {:>%d} | {:<%d} | {:<4} |' % tuple(width)
    print()
    print(line.format('figure', 'measured', 'target', ''))
    print('|' + '|'.join('-' * (w + 2) for w in width + [4]) + '|')
    for r in table:
        mark = '' if r['pass'] is None else 'pass' if r['pass'] else 'FAIL'
        print(line.format(r['figure'], r['measured'], r['target'], mark))
    judged = [r for r in table if r['pass'] is not None]
    print('\n%d of %d targets met' % (sum(r['pass'] for r in judged), len(judged)))

    with open(os.path.join(build, 'bench-results.json'), 'w') as f:
        json.dump({'rows': table, 'figures': figures, 'demo': demo, 'context': context}, f, indent=2)


if __name__ == '__main__':
    main()
