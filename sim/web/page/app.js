// The notebook's page: one WebSocket to the server. It brings the desktop's
// frames (binary, PNG) and JSON texts (hello, status, log, reply); the page
// sends one command line per message: "sim ..." for the notebook's controls,
// "click X Y left|right", "key NAMES" and "type TEXT" for the desktop's input.
// What the page has shown is kept in window.orvView, for tests and the bench.
'use strict';

const view = {
  connected: false,
  framesShown: 0,      // frames drawn into the desktop image
  frameShownAt: 0,     // performance.now() when the latest was drawn
  lastSentAt: 0,       // performance.now() when the latest command was sent
  lastReply: null,     // the latest reply of the server
  replies: 0,
  keys: [],
  onFrameShown: null,  // called after each frame is drawn
};
window.orvView = view;

const screen = document.getElementById('screen');
let socket = null;
let shownUrl = null;   // the frame in the image
let loading = false;   // a frame is being decoded into the image
let waiting = null;    // the newest frame that came meanwhile

function send(command) {
  if (!socket || socket.readyState !== WebSocket.OPEN) {
    showReply(false, 'not connected to the notebook');
    return false;
  }
  view.lastSentAt = performance.now();
  socket.send(command);
  return true;
}
view.send = send;

function showReply(ok, text) {
  const reply = document.getElementById('reply');
  reply.textContent = text;
  reply.className = ok ? 'ok' : 'failed';
}

function setLink(up) {
  view.connected = up;
  const link = document.getElementById('link');
  link.textContent = up ? 'connected' : 'not connected: trying again…';
  link.className = up ? 'up' : 'down';
}

// Frames are drawn one at a time; of those that come meanwhile only the newest is.
function showFrame(blob) {
  if (loading) {
    waiting = blob;
    return;
  }
  loading = true;
  const url = URL.createObjectURL(blob);
  screen.onload = () => {
    if (shownUrl) URL.revokeObjectURL(shownUrl);
    shownUrl = url;
    view.framesShown += 1;
    view.frameShownAt = performance.now();
    loading = false;
    if (view.onFrameShown) view.onFrameShown();
    if (waiting) {
      const next = waiting;
      waiting = null;
      showFrame(next);
    }
  };
  screen.onerror = () => {
    URL.revokeObjectURL(url);
    loading = false;
    if (waiting) {
      const next = waiting;
      waiting = null;
      showFrame(next);
    }
  };
  screen.src = url;
}

function setLevel(id, value) {
  const input = document.getElementById(id);
  if (document.activeElement === input) return;  // the user is moving it
  input.value = value;
  document.getElementById(id + '-value').textContent = value;
}

// The sliders follow the notebook: the panel's brightness and the default endpoint's volume.
function followStatus(text) {
  const brightness = /^Brightness\s+monitor 0: (\d+)%/m.exec(text);
  if (brightness) setLevel('brightness', brightness[1]);
  const audio = /^Audio \S+\s+active, volume (\d+)% \([^)]*\), (not muted|muted), default$/m.exec(text);
  if (audio) {
    setLevel('volume', audio[1]);
    document.getElementById('mute').checked = audio[2] === 'muted';
  }
}

function addButton(parent, label, command) {
  const button = document.createElement('button');
  button.textContent = label;
  button.dataset.command = command;
  parent.appendChild(button);
}

function onHello(hello) {
  view.keys = hello.keys;
  const keys = document.getElementById('keys');
  keys.querySelectorAll('button').forEach((b) => b.remove());
  for (const key of hello.keys) addButton(keys, key, 'sim press ' + key);
  const power = document.getElementById('power');
  power.querySelectorAll('button').forEach((b) => b.remove());
  for (const state of ['sleep', 'hibernate', 'wake'])
    if (hello[state]) addButton(power, state, 'sim ' + state);
  power.hidden = !power.querySelector('button');
}

function onText(message) {
  if (message.type === 'hello') {
    onHello(message);
  } else if (message.type === 'status') {
    document.getElementById('status').textContent = message.text;
    followStatus(message.text);
  } else if (message.type === 'log') {
    const log = document.getElementById('log');
    log.textContent = message.text;
    log.scrollTop = log.scrollHeight;
  } else if (message.type === 'reply') {
    view.lastReply = message;
    view.replies += 1;
    const said = message.text ? ': ' + message.text.trim() : '';
    showReply(message.ok, (message.ok ? '' : 'refused: ') + (message.command || '') + said);
  }
}

function connect() {
  socket = new WebSocket(`ws://${location.host}/ws`);
  socket.binaryType = 'blob';
  socket.onopen = () => setLink(true);
  socket.onclose = () => {
    setLink(false);
    setTimeout(connect, 1000);
  };
  socket.onmessage = (event) => {
    if (typeof event.data === 'string') onText(JSON.parse(event.data));
    else showFrame(event.data);
  };
}

// The point of the desktop under a mouse event on its image, in screen pixels.
function screenPoint(event) {
  const box = screen.getBoundingClientRect();
  const x = Math.floor(((event.clientX - box.left) * screen.naturalWidth) / box.width);
  const y = Math.floor(((event.clientY - box.top) * screen.naturalHeight) / box.height);
  return [Math.min(Math.max(x, 0), screen.naturalWidth - 1), Math.min(Math.max(y, 0), screen.naturalHeight - 1)];
}

function click(event, button) {
  event.preventDefault();
  screen.focus();
  if (!screen.naturalWidth) return;
  const [x, y] = screenPoint(event);
  send(`click ${x} ${y} ${button}`);
}

const namedKeys = {
  Escape: 'esc', Enter: 'enter', Tab: 'tab', ' ': 'space', Backspace: 'back',
  ArrowUp: 'up', ArrowDown: 'down', ArrowLeft: 'left', ArrowRight: 'right',
};

// A key on the focused desktop image: named keys and shortcuts go as keys,
// other printable characters as typed text.
function onKey(event) {
  if (['Control', 'Alt', 'Shift', 'Meta'].includes(event.key)) return;
  let name = namedKeys[event.key];
  const plain = event.key.length === 1 && event.key >= ' ' && event.key <= '~';
  if (!name && plain && (event.ctrlKey || event.altKey) && /^[a-z0-9]$/i.test(event.key)) name = event.key.toLowerCase();
  if (name) {
    const mods = (event.ctrlKey ? 'ctrl+' : '') + (event.altKey ? 'alt+' : '') +
      (event.shiftKey && (!plain || event.ctrlKey || event.altKey) ? 'shift+' : '');
    send('key ' + mods + name);
  } else if (plain && !event.metaKey) {
    send('type ' + event.key);
  } else {
    return;
  }
  event.preventDefault();
}

function setUp() {
  screen.addEventListener('click', (event) => click(event, 'left'));
  screen.addEventListener('contextmenu', (event) => click(event, 'right'));
  screen.addEventListener('keydown', onKey);
  document.getElementById('controls').addEventListener('click', (event) => {
    const button = event.target.closest('button[data-command]');
    if (button) send(button.dataset.command);
  });
  for (const id of ['volume', 'brightness']) {
    const input = document.getElementById(id);
    input.addEventListener('input', () => {
      document.getElementById(id + '-value').textContent = input.value;
    });
    input.addEventListener('change', () => send(`sim ${id} set ${input.value}`));
  }
  const mute = document.getElementById('mute');
  mute.addEventListener('change', () => send('sim volume mute ' + (mute.checked ? 'on' : 'off')));
  connect();
}

setUp();
