"""The notebook in a browser, for the browser test, the bench and the page's
screenshot: the real firmware provider, the service, the tray program Calvex
and the page's server orv-web in a state folder of their own, and headless Chromium (from
Debian, driven by its chromedriver through Selenium) on the page.

Every wait is on a state, with a generous bound."""
import os
import pwd
import shutil
import signal
import socket
import subprocess
import tempfile
import time

WAIT = 90  # seconds: only a state that never comes costs the whole bound

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"


class Missing(Exception):
    """What the browser needs is not installed."""


def wait_for(what, cond, timeout=WAIT, step=0.02):
    """Polls cond until it gives something true; raises with `what` at the bound."""
    end = time.monotonic() + timeout
    while True:
        got = cond()
        if got:
            return got
        if time.monotonic() > end:
            raise AssertionError("gave up waiting for " + what)
        time.sleep(step)


class Notebook:
    """The provider, the service, Calvex and orv-web, started in a fresh state
    folder and stopped again (each by its own process id) on leaving."""

    def __init__(self, bin_dir, registry=()):
        self.bin = os.path.abspath(bin_dir)
        self.registry = registry  # (key, name, text) set before Calvex starts
        self.home = None
        self.calvex = None
        self.web = None
        self.url = None
        self.env = None
        self.service = False

    def program(self, name):
        return os.path.join(self.bin, name)

    def run(self, *argv, check=True):
        r = subprocess.run([self.program(argv[0])] + list(argv[1:]), env=self.env, capture_output=True,
                           text=True, timeout=WAIT)
        if check and r.returncode != 0:
            raise AssertionError("%s failed (%d): %s%s" % (" ".join(argv), r.returncode, r.stdout, r.stderr))
        return r

    def log_path(self):
        user = pwd.getpwuid(os.geteuid()).pw_name
        return os.path.join(self.home, "drive_c", "Users", user, "Documents", "CalvexLogFile.txt")

    def __enter__(self):
        self.home = tempfile.mkdtemp(prefix="orv-web-")
        self.env = dict(os.environ, ORV_HOME=self.home, ORV_SCREEN="", ORV_TASKBAR="", ORV_SESSION="",
                        LANG="en_US.UTF-8")
        self.env.pop("LC_ALL", None)
        self.env.pop("LC_MESSAGES", None)
        os.makedirs(os.path.dirname(self.log_path()))
        try:
            self.run("orv-sim", "start")
            self.run("OrvService", "-install")
            self.service = True
            wait_for("the service to run",
                     lambda: "RUNNING" in self.run("orv-scm", "query", "Orv Calvex", check=False).stdout)
            self.run("orv-reg", "set", "HKCU\\Software\\Orv\\Calvex\\Log File", "Log File Flag", "TRUE")
            for key, name, text in self.registry:
                self.run("orv-reg", "set", key, name, text)
            self.calvex = subprocess.Popen([self.program("Calvex")], env=self.env, stdout=subprocess.DEVNULL,
                                           stderr=open(os.path.join(self.home, "calvex.err"), "w"))
            shot = os.path.join(self.home, "up.png")

            def desktop():
                if self.calvex.poll() is not None:
                    raise AssertionError("Calvex ended: " + open(os.path.join(self.home, "calvex.err")).read())
                return self.run("orv-desktop", "screenshot", shot, check=False).returncode == 0
            wait_for("Calvex to serve its desktop", desktop)
            wait_for("Calvex to announce itself to the firmware",
                     lambda: self.run("orvcmd", "root\\WMI:Q:Orv_Software:Software:0").stdout.strip() == "1")
            out = open(os.path.join(self.home, "web.out"), "w+")
            self.web = subprocess.Popen([self.program("orv-web"), "--port", "0"], env=self.env, stdout=out,
                                        stderr=subprocess.STDOUT)

            def address():
                if self.web.poll() is not None:
                    raise AssertionError("orv-web ended: " + open(out.name).read())
                for line in open(out.name):
                    if "http://127.0.0.1:" in line:
                        return line[line.index("http://"):].strip()
                return None
            self.url = wait_for("orv-web to print its address", address)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, *_):
        for child in (self.web, self.calvex):
            if child and child.poll() is None:
                child.send_signal(signal.SIGTERM)
                try:
                    child.wait(timeout=WAIT)
                except subprocess.TimeoutExpired:
                    child.kill()
                    child.wait()
        if self.service:
            self.run("OrvService", "-remove", check=False)
        if self.home:
            self.run("orv-sim", "stop", check=False)
            shutil.rmtree(self.home, ignore_errors=True)

    # What the desktop says of itself, through its automation.
    def desk(self, *words, check=True):
        return self.run("orv-desktop", *words, check=check)

    def windows(self):
        """The visible top-level windows: (x, y, w, h, class, title)."""
        out = []
        for line in self.desk("windows").stdout.splitlines():
            place, cls, title = line.split("\t")
            out.append(tuple(int(v) for v in place.split()) + (cls, title))
        return out

    def window_titled(self, title):
        return next((w for w in self.windows() if w[5] == title), None)

    def controls(self, title):
        """The controls of the window by id: (class, text, (x, y, w, h))."""
        out = {}
        r = self.desk("controls", title, check=False)
        for line in r.stdout.splitlines():
            f = line.split("\t")
            if len(f) >= 7:
                out[int(f[0])] = (f[1], f[2], tuple(int(v) for v in f[3].split()))
        return out

    def window_records(self):
        """The desktop's own record of its windows, read from its socket:
        (visible, (x, y, w, h), generation, changed_us, class)."""
        s = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        s.settimeout(WAIT)
        try:
            s.connect(os.path.join(self.home, "desktop.sock"))
            s.sendall(b"WINDOWS\n")
            data = b""
            while not data.endswith(b"END\n"):
                chunk = s.recv(65536)
                if not chunk:
                    break
                data += chunk
        finally:
            s.close()
        out = []
        for line in data.decode().splitlines():
            f = line.split(" ")
            if len(f) >= 9:
                out.append((f[1] == "1", tuple(int(v) for v in f[2:6]), int(f[6]), int(f[7]), f[8]))
        return out


def browser(download_dir=None, width=1720, height=1400):
    """Headless Chromium through its driver, both from Debian; Missing (with what
    to install) when they are not there."""
    try:
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
    except ImportError as e:
        raise Missing("python3-selenium is not installed (%s)" % e)
    for path, package in ((CHROMIUM, "chromium"), (CHROMEDRIVER, "chromium-driver")):
        if not os.access(path, os.X_OK):
            raise Missing("%s is not installed (%s missing)" % (package, path))
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=%d,%d" % (width, height), "--force-device-scale-factor=1",
                "--no-first-run", "--disable-extensions", "--disable-background-networking",
                "--user-data-dir=" + (download_dir or tempfile.mkdtemp(prefix="orv-chromium-"))):
        options.add_argument(arg)
    # The driver is named, so Selenium looks for nothing on the network.
    return webdriver.Chrome(service=Service(executable_path=CHROMEDRIVER), options=options)


# The page's helpers, run in the page: its image's pixels through a canvas.
KEEP_PIXELS = """
const img = document.getElementById('screen');
const c = document.createElement('canvas');
c.width = img.naturalWidth; c.height = img.naturalHeight;
const g = c.getContext('2d'); g.drawImage(img, 0, 0);
window.__kept = window.__kept || {};
window.__kept[arguments[0]] = g.getImageData(0, 0, c.width, c.height).data;
return [c.width, c.height];
"""

# The share of pixels in the rectangle that differ from the kept picture.
CHANGED_SHARE = """
const [name, x, y, w, h] = arguments;
const img = document.getElementById('screen');
const c = document.createElement('canvas');
c.width = img.naturalWidth; c.height = img.naturalHeight;
const g = c.getContext('2d'); g.drawImage(img, 0, 0);
const now = g.getImageData(0, 0, c.width, c.height).data, kept = window.__kept[name];
let differ = 0, all = 0;
for (let j = y; j < y + h; j++) for (let i = x; i < x + w; i++) {
  const k = (j * c.width + i) * 4;
  all++;
  if (now[k] !== kept[k] || now[k + 1] !== kept[k + 1] || now[k + 2] !== kept[k + 2]) differ++;
}
return all ? differ / all : 0;
"""


def view(driver):
    return driver.execute_script("return window.orvView")


def open_page(driver, notebook):
    driver.get(notebook.url)
    wait_for("the page to connect and show the desktop",
             lambda: driver.execute_script("return window.orvView && window.orvView.connected && "
                                           "window.orvView.framesShown > 0 && "
                                           "document.getElementById('screen').naturalWidth > 0"))
    wait_for("the page's function keys", lambda: driver.execute_script(
        "return document.querySelector('button[data-command=\"sim press wireless\"]') !== null"))


def click_on_screen(driver, x, y, right=False):
    """A click (left or right) on the page's desktop image at screen point (x, y)."""
    from selenium.webdriver.common.action_chains import ActionChains
    box = driver.execute_script(
        "const i = document.getElementById('screen'), r = i.getBoundingClientRect();"
        "return [r.left, r.top, r.width / i.naturalWidth, r.height / i.naturalHeight];")
    vx, vy = box[0] + (x + 0.5) * box[2], box[1] + (y + 0.5) * box[3]
    actions = ActionChains(driver)
    actions.w3c_actions.pointer_action.move_to_location(int(vx), int(vy))
    if right:
        actions.w3c_actions.pointer_action.context_click()
    else:
        actions.w3c_actions.pointer_action.click()
    actions.perform()
