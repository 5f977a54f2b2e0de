#!/usr/bin/python3
"""bench_web: a key pressed on the page to the new frame shown in the page,
beside the desktop's own key-to-OSD time, in one run with the real provider,
Calvex, orv-web and headless Chromium.

For each press of the wireless key (its OSD shows the new state each time):
  - page: from the page sending the key (performance.now() in the page) to the
    first new frame drawn into its desktop image;
  - desktop: from the server taking the key (steady clock, before it asks the
    provider) to the desktop being given the OSD's new picture (the desktop's
    own record of the window, same clock).
Prints median and p99 of both and their ratios (page / desktop).

    bench_web [--presses N]"""
import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "web"))
import session  # noqa: E402
from session import wait_for  # noqa: E402

# Sends the key and resolves with the ms until the next frame is drawn, and the server's reply.
PRESS = """
const done = arguments[arguments.length - 1];
const v = window.orvView, shownBefore = v.framesShown, repliesBefore = v.replies;
let frameMs = null;
const t0 = performance.now();
v.onFrameShown = () => { if (frameMs === null) frameMs = performance.now() - t0; finish(); };
function finish() {
  if (frameMs === null || v.replies === repliesBefore) return;
  v.onFrameShown = null;
  done([frameMs, v.lastReply]);
}
const poll = setInterval(() => { if (v.replies !== repliesBefore && frameMs !== null) { clearInterval(poll); finish(); } }, 5);
v.send(arguments[0]);
"""


def percentile(values, p):
    v = sorted(values)
    return v[min(len(v) - 1, int(p * (len(v) - 1) + 0.5))]


def settle(driver):
    """Until no frame has come for a while: the frames of the press before are all drawn."""
    def quiet():
        return driver.execute_script(
            "return window.orvView.frameShownAt && performance.now() - window.orvView.frameShownAt > 300")
    wait_for("the page to show the last frame", quiet)


def desktop_ms(nb, at_us, generations):
    """The OSD's new picture after at_us: the first window given contents since
    the key (its generation grew), by the desktop's own record."""
    def given():
        found = []
        for visible, place, generation, changed_us, cls in nb.window_records():
            key = (place, cls)
            if visible and changed_us >= at_us and generation > generations.get(key, -1):
                found.append(changed_us)
        return min(found) if found else None
    changed = wait_for("the OSD's new picture", given)
    return (changed - at_us) / 1000.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "..", "build", "bin"))
    parser.add_argument("--presses", type=int, default=40)
    args = parser.parse_args()
    try:
        driver = session.browser()
    except session.Missing as e:
        print("bench_web: %s; install with ./scripts/install-deps.sh browser" % e, file=sys.stderr)
        return 1
    page, desk = [], []
    try:
        with session.Notebook(args.bin) as nb:
            session.open_page(driver, nb)
            driver.set_script_timeout(session.WAIT)
            # A first press brings the OSD window up; the measured ones change its picture.
            for i in range(args.presses + 1):
                settle(driver)
                generations = {(place, cls): generation
                               for visible, place, generation, _, cls in nb.window_records()}
                frame_ms, reply = driver.execute_async_script(PRESS, "sim press wireless")
                assert reply["ok"], reply
                d_ms = desktop_ms(nb, reply["atUs"], generations)
                if i > 0:
                    page.append(frame_ms)
                    desk.append(d_ms)
    finally:
        driver.quit()
    pm, pp = percentile(page, 0.5), percentile(page, 0.99)
    dm, dp = percentile(desk, 0.5), percentile(desk, 0.99)
    print("bench_web: %d presses of the wireless key" % len(page))
    print("  key on the page -> new frame shown in the page: median %.2f ms, p99 %.2f ms" % (pm, pp))
    print("  key taken -> the desktop given the OSD's picture:  median %.2f ms, p99 %.2f ms" % (dm, dp))
    print("  ratio page / desktop: median %.2f, p99 %.2f" % (pm / dm if dm else float("inf"),
                                                            pp / dp if dp else float("inf")))
    return 0


if __name__ == "__main__":
    sys.exit(main())
