// The page's side of the browser front end: canvas, sound, dialogs, menus, and the queue of
// events the game takes one at a time.
mergeInto(LibraryManager.library, {
  $Page: {
    queue: [],
    waiting: null,  // the game's wake-up while it waits for an event
    timers: {},
    lastTimer: 0,
    waves: {},
    sounds: {},
    audio: null,
    playing: null,
    lastPress: null,
    image: null,

    // Each event once in the queue: a timer that expires again before the game took its
    // last expiry adds nothing, and a newer size replaces an older one.
    push: function(kind, values, key) {
      if (key !== undefined) {
        const at = Page.queue.findIndex(e => e.key === key);
        if (at >= 0 && kind === 2) return;
        if (at >= 0) Page.queue.splice(at, 1);
      }
      Page.queue.push({kind: kind, values: values, key: key});
      if (Page.waiting) {
        const wake = Page.waiting;
        Page.waiting = null;
        wake();
      }
    },

    clientSize: function() {
      const bar = document.getElementById('menubar');
      return [Math.floor(window.innerWidth), Math.floor(window.innerHeight - bar.offsetHeight)];
    },

    resized: function() {
      Page.push(3, Page.clientSize(), 'resize');
    },

    // Qt's own double click: a second press this soon and this near is not a press.
    isSecondOfDoubleClick: function(e) {
      const last = Page.lastPress;
      const second = last !== null && e.pointerType === last.type && e.timeStamp - last.time < 400 &&
          Math.abs(e.clientX - last.x) <= 5 && Math.abs(e.clientY - last.y) <= 5;
      Page.lastPress = second ? null : {type: e.pointerType, time: e.timeStamp, x: e.clientX, y: e.clientY};
      return second;
    },

    // Browsers let a page sound only after a touch; the sounds are ready before the first deal.
    firstTouch: function() {
      const prompt = document.getElementById('touch');
      if (prompt.hidden) return;
      prompt.hidden = true;
      const decoded = [];
      try {
        Page.audio = new AudioContext();
        Page.audio.resume();
        for (const id in Page.waves) {
          decoded.push(Page.audio.decodeAudioData(Page.waves[id].buffer)
                           .then(buffer => { Page.sounds[id] = buffer; }, () => {}));
        }
      } catch (error) {
        Page.audio = null;
      }
      Promise.all(decoded).then(() => Page.resized());
    },

    command: function(name) {
      document.querySelectorAll('.menu.open').forEach(m => m.classList.remove('open'));
      if (name === 'print' || name === 'preview') Page.push(4, [], 'print');
      if (name === 'exit') Page.push(5, [], 'exit');
      if (name === 'about') document.getElementById('about').showModal();
    },

    anyOpenDialog: function() {
      return document.querySelector('dialog[open]') !== null;
    },

    start: function() {
      const canvas = document.getElementById('board');
      canvas.addEventListener('pointerdown', e => {
        e.preventDefault();
        if (e.button !== 0 || !e.isPrimary || Page.isSecondOfDoubleClick(e)) return;
        const box = canvas.getBoundingClientRect();
        Page.push(1, [Math.floor(e.clientX - box.left), Math.floor(e.clientY - box.top)]);
      });
      const prompt = document.getElementById('touch');
      prompt.addEventListener('pointerdown', () => Page.firstTouch());
      // Asked for only now: a touch while the module loaded was lost.
      prompt.textContent = 'Click, tap or press a key to play Tessaform.';
      document.addEventListener('keydown', e => {
        if ((e.ctrlKey || e.metaKey) && (e.key === 'p' || e.key === 'P')) {
          e.preventDefault();
          if (!Page.anyOpenDialog()) Page.command('print');
          return;
        }
        Page.firstTouch();
      });
      window.addEventListener('resize', () => {
        if (document.getElementById('touch').hidden) Page.resized();
      });
      document.querySelectorAll('.menu > button').forEach(b => b.addEventListener('click', () => {
        const menu = b.parentElement;
        const open = menu.classList.contains('open');
        document.querySelectorAll('.menu.open').forEach(m => m.classList.remove('open'));
        if (!open) menu.classList.add('open');
      }));
      document.querySelectorAll('[data-command]').forEach(
          b => b.addEventListener('click', () => Page.command(b.dataset.command)));
      document.addEventListener('pointerdown', e => {
        if (!e.target.closest('#menubar')) Page.command('');
      });
      document.getElementById('about-ok').addEventListener('click',
          () => document.getElementById('about').close());
    },
  },

  page_next_event__deps: ['$Page'],
  page_next_event: function(event) {
    return Asyncify.handleSleep(function(wakeUp) {
      const take = () => {
        const e = Page.queue.shift();
        HEAP32.set(e.values, event >> 2);
        wakeUp(e.kind);
      };
      if (Page.queue.length > 0) {
        take();
      } else {
        Page.waiting = take;
      }
    });
  },

  page_wait: function(ms) {
    Asyncify.handleSleep(wakeUp => setTimeout(wakeUp, ms));
  },

  // Starts a sound in place of the one playing: its length in seconds, or -1.
  page_start_sound__deps: ['$Page'],
  page_start_sound: function(id) {
    const buffer = Page.sounds[id];
    if (!Page.audio || !buffer || Page.audio.state !== 'running') return -1;
    if (Page.playing) Page.playing.stop();
    Page.playing = Page.audio.createBufferSource();
    Page.playing.buffer = buffer;
    Page.playing.connect(Page.audio.destination);
    Page.playing.start();
    return buffer.duration;
  },

  page_open_box__deps: ['$Page'],
  page_open_box: function(text, caption) {
    const box = document.getElementById('box-template').content.firstElementChild.cloneNode(true);
    box.querySelector('h2').textContent = UTF8ToString(caption);
    box.querySelector('p').textContent = UTF8ToString(text);
    box.addEventListener('close', () => {
      box.remove();
      Page.push(6, []);
    });
    box.querySelector('button').addEventListener('click', () => box.close());
    document.body.appendChild(box);
    box.showModal();
  },

  page_timer_start__deps: ['$Page'],
  page_timer_start: function(ms) {
    const handle = ++Page.lastTimer;
    Page.timers[handle] = setInterval(() => {
      Page.push(2, [handle], 'timer' + handle);
    }, ms);
    return handle;
  },

  page_timer_stop__deps: ['$Page'],
  page_timer_stop: function(handle) {
    clearInterval(Page.timers[handle]);
    delete Page.timers[handle];
    const at = Page.queue.findIndex(e => e.key === 'timer' + handle);
    if (at >= 0) Page.queue.splice(at, 1);
  },

  // The game's pixels, 0xffRRGGBB words, put on the canvas where they changed.
  page_show__deps: ['$Page'],
  page_show: function(pixels, width, height, left, top, right, bottom) {
    const canvas = document.getElementById('board');
    if (canvas.width !== width || canvas.height !== height || Page.image === null) {
      canvas.width = width;
      canvas.height = height;
      canvas.style.width = width + 'px';
      canvas.style.height = height + 'px';
      Page.image = new ImageData(width, height);
    }
    const words = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height);
    const rgba = Page.image.data;
    for (let y = top; y < bottom; ++y) {
      for (let x = left, i = y * width + left; x < right; ++x, ++i) {
        const w = words[i];
        rgba[4 * i] = (w >> 16) & 255;
        rgba[4 * i + 1] = (w >> 8) & 255;
        rgba[4 * i + 2] = w & 255;
        rgba[4 * i + 3] = 255;
      }
    }
    canvas.getContext('2d').putImageData(Page.image, 0, 0, left, top, right - left, bottom - top);
  },

  page_set_title: function(title) {
    document.title = UTF8ToString(title);
  },

  page_set_print: function(title, lines) {
    document.getElementById('print-title').textContent = UTF8ToString(title);
    document.getElementById('print-lines').textContent = UTF8ToString(lines);
  },

  page_add_sound__deps: ['$Page'],
  page_add_sound: function(id, bytes, size) {
    Page.waves[id] = HEAPU8.slice(bytes, bytes + size);
  },

  page_set_about__deps: ['$Page'],
  page_set_about: function(caption, version, notice, pixels, width, height) {
    document.getElementById('about-caption').textContent = UTF8ToString(caption);
    document.getElementById('about-version').textContent = UTF8ToString(version);
    document.getElementById('about-notice').textContent = UTF8ToString(notice);
    const icon = document.getElementById('about-icon');
    icon.width = width;
    icon.height = height;
    const image = new ImageData(width, height);
    for (let i = 0; i < width * height; ++i) {
      const w = HEAPU32[(pixels >> 2) + i];
      image.data.set([(w >> 16) & 255, (w >> 8) & 255, w & 255, 255], 4 * i);
    }
    icon.getContext('2d').putImageData(image, 0, 0);
  },

  page_describe_board: function(name, description) {
    const board = document.getElementById('board');
    board.setAttribute('aria-label', UTF8ToString(name));
    board.setAttribute('aria-description', UTF8ToString(description));
  },

  // What the screen says in words, a line each, kept as the canvas's content for screen readers.
  page_set_words: function(words) {
    const items = UTF8ToString(words).split('\n').filter(w => w !== '');
    document.getElementById('words').replaceChildren(
        ...items.map(w => Object.assign(document.createElement('li'), {textContent: w})));
  },

  page_ready__deps: ['$Page'],
  page_ready: function() {
    Page.start();
  },

  page_seed: function() {
    const seed = new URLSearchParams(location.search).get('seed');
    return seed !== null && /^[0-9]+$/.test(seed) ? Number(seed) : -1;
  },

  page_print: function() {
    window.print();
  },

  page_exit__deps: ['$Page'],
  page_exit: function() {
    Object.keys(Page.timers).forEach(h => clearInterval(Page.timers[h]));
    if (Page.audio) Page.audio.close();
    document.getElementById('ended').hidden = false;
    document.getElementById('board').hidden = true;
    document.title = 'Tessaform';
  },

  page_log: function(line) {
    console.log(UTF8ToString(line));
  },
});
