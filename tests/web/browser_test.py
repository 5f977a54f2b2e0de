#!/usr/bin/python3
"""The page in a real browser: headless Chromium loads it from orv-web with the
real provider and Calvex running, presses the wireless key on the page and sees
the OSD appear in the desktop image, right-clicks the tray icon in the image,
chooses About in the menu, reads the version line and closes the dialog with a
click on OK, every step seen in the page's image; then Escape typed on the page
closes the menu opened again.

    browser_test.py BIN [--screenshot PNG]   (PNG: the page with the About dialog open)

Without Chromium, its driver or Selenium the test fails and says what to install."""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import session  # noqa: E402
from session import wait_for  # noqa: E402

VERSION = "3.0.1.7"
VERSION_KEY = ("HKLM\\SOFTWARE\\Orv\\Calvex", "Version", VERSION)


def changed(driver, kept, rect, share):
    x, y, w, h = rect
    return driver.execute_script(session.CHANGED_SHARE, kept, x, y, w, h) >= share


def new_window(before, now):
    """The visible window of `now` that `before` did not have."""
    old = set(before)
    return next((w for w in now if w not in old), None)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("bin")
    parser.add_argument("--screenshot")
    args = parser.parse_args()

    try:
        driver = session.browser()
    except session.Missing as e:
        print("BROWSER TEST NOT RUN, FAILED: %s. Install chromium, chromium-driver and python3-selenium "
              "(./scripts/install-deps.sh browser)." % e, file=sys.stderr)
        return 1
    try:
        with session.Notebook(args.bin, registry=[VERSION_KEY]) as nb:
            run(nb, driver, args.screenshot)
    finally:
        driver.quit()
    print("browser test passed")
    return 0


def run(nb, driver, screenshot):
    session.open_page(driver, nb)
    print("page open at", nb.url)

    # The wireless key on the page: the OSD appears in the desktop image.
    driver.execute_script(session.KEEP_PIXELS, "bare")
    before = nb.windows()
    driver.find_element("css selector", 'button[data-command="sim press wireless"]').click()
    osd = wait_for("the OSD on the desktop", lambda: new_window(before, nb.windows()))
    print("OSD window", osd)
    wait_for("the OSD in the page's image", lambda: changed(driver, "bare", osd[:4], 0.3))
    wait_for("the page's status to show the radio off",
             lambda: "wireless off" in driver.find_element("id", "status").text)
    wait_for("the tray's log of the event in the page",
             lambda: "WMI Event value" in driver.find_element("id", "log").text)

    # A right click on the tray icon in the image opens the menu.
    x, y, w, h = (int(v) for v in nb.desk("tray-place", "1").stdout.split())
    driver.execute_script(session.KEEP_PIXELS, "no menu")
    session.click_on_screen(driver, x + w // 2, y + h // 2, right=True)
    items = wait_for("the tray menu", lambda: nb.desk("menu-places", check=False).stdout.strip())
    about = None
    for line in items.splitlines():
        f = line.split("\t")
        if len(f) == 3 and f[1] == "About Calvex":
            about = tuple(int(v) for v in f[2].split())
    assert about, "no About item in the menu: " + items
    menu = next(w for w in nb.windows() if w[4] == "#32768")
    wait_for("the menu in the page's image", lambda: changed(driver, "no menu", menu[:4], 0.3))

    # About is chosen with a click on its item in the image.
    driver.execute_script(session.KEEP_PIXELS, "no dialog")
    session.click_on_screen(driver, about[0] + about[2] // 2, about[1] + about[3] // 2)
    dialog = wait_for("the About dialog", lambda: nb.window_titled("About Calvex"))
    wait_for("the About dialog in the page's image", lambda: changed(driver, "no dialog", dialog[:4], 0.3))
    controls = wait_for("the About dialog's controls", lambda: nb.controls("About Calvex"))
    version = controls[1001][1]
    print("version line:", version)
    assert version == VERSION, "the version line reads %r, not %r" % (version, VERSION)
    if screenshot:
        driver.save_screenshot(screenshot)
        print("page screenshot saved to", screenshot)

    # OK, clicked in the image, closes it; the image shows the desktop without it.
    driver.execute_script(session.KEEP_PIXELS, "dialog")
    ox, oy, ow, oh = controls[1][2]
    assert controls[1][1] == "OK", controls[1]
    session.click_on_screen(driver, ox + ow // 2, oy + oh // 2)
    wait_for("the About dialog to close", lambda: nb.window_titled("About Calvex") is None)
    wait_for("the page's image without the dialog", lambda: changed(driver, "dialog", dialog[:4], 0.3))

    # Keys typed on the focused image reach the desktop: Escape closes the menu again.
    session.click_on_screen(driver, x + w // 2, y + h // 2, right=True)
    wait_for("the tray menu again", lambda: nb.desk("menu", check=False).returncode == 0)
    from selenium.webdriver.common.keys import Keys
    driver.find_element("id", "screen").send_keys(Keys.ESCAPE)
    wait_for("Escape on the page to close the menu", lambda: nb.desk("menu", check=False).returncode != 0)
    reply = session.view(driver)["lastReply"]
    assert reply["command"] == "key esc" and reply["ok"], reply
    assert session.view(driver)["connected"]


if __name__ == "__main__":
    sys.exit(main())
