#!/usr/bin/python3
# Figures of the browser's page in headless Chromium on this machine: its files' bytes, plain
# and gzipped; the load to the first touch's prompt and that touch to the board, the median of
# a few fresh browsers; the timer callbacks of a game left alone. Measured, never judged.
# Usage: bench/web-figures.py [WWW [RUNS]]   (WWW: build-web/www, RUNS: 5)
import gzip
import os
import sys
import tempfile
import time
from statistics import median

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from browser import Page, skip_without_chromium  # noqa: E402

IDLE_SECONDS = 20
# Before the page's scripts, in the page's own clock (ms from the navigation's start): when the
# prompt first takes a touch, when the touch came, when each log line came; each timer callback.
WATCH = """window.figures = {timers: 0, lines: [], live: null, touched: null};
for (const name of ['setTimeout', 'setInterval']) {
  const original = window[name];
  window[name] = (callback, ...rest) =>
      original(function() { ++figures.timers; return callback.apply(this, arguments); }, ...rest);
}
const log = console.log;
console.log = (...args) => {
  figures.lines.push([performance.now(), String(args[0])]);
  log(...args);
};
const listen = EventTarget.prototype.addEventListener;
EventTarget.prototype.addEventListener = function(type, ...rest) {
  if (this.id === 'touch' && type === 'pointerdown') figures.live ??= performance.now();
  return listen.call(this, type, ...rest);
};
addEventListener('pointerdown', () => { figures.touched ??= performance.now(); }, true);"""


def when(page, line):
    page.wait_for(line + "$")
    return next(t for t, text in page.js("return figures.lines") if text.endswith(line))


# Milliseconds from the navigation to the first paint and to the prompt asking for a touch,
# and from the touch to the opening figure and the board; then the timer callbacks a second
# of a game left alone.
def one_load(www, out, idle):
    page = Page(www, out, "seed=1", before=WATCH)
    try:
        shown = page.js("return performance.getEntriesByName('first-contentful-paint')[0]"
                        ".startTime")
        while page.js("return figures.live") is None:
            time.sleep(0.05)
        live = page.js("return figures.live")
        page.touch()
        figure, board = when(page, "start 154 sync"), when(page, "end 154")
        touched = page.js("return figures.touched")
        figures = [shown, live, figure - touched, board - touched]
        if idle:
            time.sleep(1)
            start = page.js("return [figures.timers, performance.now()]")
            time.sleep(IDLE_SECONDS)
            end = page.js("return [figures.timers, performance.now()]")
            figures.append((end[0] - start[0]) / (end[1] - start[1]) * 1000)
        return figures
    finally:
        page.close()


def main():
    www = sys.argv[1] if len(sys.argv) > 1 else "build-web/www"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    skip_without_chromium()
    files = [os.path.join(www, name) for name in sorted(os.listdir(www))]
    plain = sum(os.path.getsize(f) for f in files)
    zipped = sum(len(gzip.compress(open(f, "rb").read(), 9)) for f in files)
    print("the page's %d files: %d bytes, %d gzipped (-9)" % (len(files), plain, zipped))
    with tempfile.TemporaryDirectory(prefix="tessaform-figures-") as out:
        loads = [one_load(www, os.path.join(out, str(run)), run == 0) for run in range(runs)]
    idle = loads[0].pop()
    shown, live, figure, board = (median(column) for column in zip(*loads))
    print("load to the first paint %.0f ms, to the prompt asking for the first touch %.0f ms "
          "(median of %d)" % (shown, live, runs))
    print("first touch to the opening figure %.0f ms, to the board %.0f ms, after the deal "
          "sound's %.0f ms" % (figure, board, 93_541 / 22_050 * 1000))
    print("a game left alone for %d s: %.2f timer callbacks a second" % (IDLE_SECONDS, idle))


if __name__ == "__main__":
    main()
