// The page side of the browser binding: builds the elements the C++ side (WebPlatform.cpp) asks
// for, and hands the page's events back to it. It knows no window or control of the program:
// only kinds, numbers, styles and texts.
//
// The page, which the browser tests and DEVELOPING.md rely on (keep it stable):
//
//   <body class="tarvo">
//     <div class="tarvo-live" aria-live="polite">           what Platform::announce says
//     <section class="tarvo-window" aria-label="TITLE">      a window, filling the page; the
//                                                            windows behind are hidden and inert
//       <div class="tarvo-menubar" role="menubar">           only while an entry is visible
//         <button role="menuitem">CAPTION</button>           a menu entry: acts on its click
//       <div class="tarvo-client">                           the client area: its size is the
//                                                            window's inner size
//         <button class="tarvo-c tarvo-button">CAPTION</button>       a command or option button
//         <div class="tarvo-c tarvo-label"><span>CAPTION</span></div>  a label
//         <div class="tarvo-c tarvo-frame" role="group">     a frame, named by the reader
//           <div class="tarvo-line"></div>                   its etched line
//           <span class="tarvo-caption">CAPTION</span>       its caption
//           ...its controls
//         <div class="tarvo-c tarvo-picture">...</div>       a picture box and its controls
//         <div class="tarvo-c tarvo-shape" aria-hidden="true">   a shape
//           <div class="tarvo-figure"></div>                 the rectangle, rounded or circle
//     <dialog class="tarvo-window tarvo-modal"               a modal window (showModal), in
//             aria-labelledby="...">                         front of every other
//       <div class="tarvo-titlebar">TITLE</div>
//       <div class="tarvo-client">...as above
//
// Every control is absolutely placed in its container, and stacked by its z-index; the order of
// the elements is the reading order that Platform::reader() gives, then the unread ones. What
// the reader does not read is aria-hidden; where its words are not the text as shown, a button
// or a group has them as aria-label (and aria-description), a text in a first child
// <span class="tarvo-sr"> that only readers find (the shown text then aria-hidden).
// Each window's focused button has the class tarvo-focus (its dotted rectangle shows in the
// front window, class tarvo-active); the front window's also has the page's focus. Elements keep
// their place for the whole life of the window; only styles, texts and states change.
//
// Events: keydown/keyup (capture, on the window) -> _tarvo_key with KeyboardEvent.code and .key
// in the two text buffers; pointerdown on a button -> _tarvo_pointer(1, ...) and the matching
// pointerup/pointercancel -> _tarvo_pointer(0, ...), further mouse buttons while one is down
// (a move whose button changed) -> a press or a release of that button; a click on a button
// that no pointer made (a screen reader, a switch) -> a left press and release; a menu entry's click -> _tarvo_menu; a
// button focused by the page itself (a screen reader, a switch) -> _tarvo_focus; the client
// area's size (ResizeObserver) -> _tarvo_resized; the viewport's (resize) -> _tarvo_viewport,
// which may fit the windows in; blur and a hidden page -> _tarvo_blur (held keys come up);
// timers -> _tarvo_timer; posted work -> _tarvo_posted.

mergeInto(LibraryManager.library, {
  $TD: {
    els: {},        // control and menu entry number -> element
    wins: {},       // window number -> {root, client, menubar, modal}
    order: [],      // window numbers, back to front
    timers: {},     // timer number -> interval handle
    listeners: [],  // [target, type, handler, options], removed at the end
    phys: {},       // KeyboardEvent.code -> physical key number
    nphys: 0,
    sent: {},       // physical keys whose press reached the program
    pressed: {},    // pointerId -> {id, button, el}
    recent: null,   // the button a pointer last came up on, and when
    observer: null,
    fit: null,      // where the full-page windows stand (tarvo_dom_fit)
    live: null,
    quiet: false,   // the program itself is moving the focus
    ended: false,
    posted: 0,
    text: function(ptr) {
      return ptr ? UTF8ToString(ptr) : '';
    },
    listen: function(target, type, handler, options) {
      target.addEventListener(type, handler, options);
      TD.listeners.push([target, type, handler, options]);
    },
    buffer: function(which, s) {
      stringToUTF8(s || '', _tarvo_text(which), 64);
    },
    shift: function(e) {
      return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
    },
    key: function(e, down) {
      if (TD.ended) return;
      var code = e.code || ('key:' + e.key);
      var phys = TD.phys[code] || (TD.phys[code] = ++TD.nphys);
      // SPACE and ENTER are the program's whatever is held with them: never the browser's own
      // press of the focused <button>, which would make a SPACE with CTRL an ENTER.
      var space = e.key === ' ' || e.key === 'Enter' || e.code === 'Space';
      if (space) e.preventDefault();
      if (down) {
        // The browser's own commands (reload, zoom, close, its tools) stay the browser's.
        if (!space && (e.ctrlKey || e.metaKey || /^F(5|11|12)$/.test(e.key))) return;
        TD.sent[phys] = true;
      } else {
        if (!TD.sent[phys]) return;
        delete TD.sent[phys];
      }
      e.preventDefault();
      e.stopPropagation();
      TD.buffer(0, e.code);
      TD.buffer(1, e.key);
      _tarvo_key(down ? 1 : 0, phys, TD.shift(e), e.repeat ? 1 : 0);
    },
    control: function(node) {
      for (; node && node.nodeType === 1; node = node.parentNode)
        if (node._tarvo && node.tagName === 'BUTTON' && !node._menu) return node;
      return null;
    },
    button: function(e) {
      // Touch and pen act as the left button; the middle is 4 and the right 2, as the model has it.
      // The side buttons ("back", "forward" and beyond) are none of the program's: 0.
      // (WebKitGTK reports a side button's press as the left's with the left one up.)
      if (e.pointerType !== 'mouse') return 1;
      if (e.type === 'pointerdown' && e.button === 0 && !(e.buttons & 1)) return 0;
      return e.button === 1 ? 4 : e.button === 2 ? 2 : e.button === 0 ? 1 : 0;
    },
    pointerDown: function(e) {
      if (TD.ended) return;
      // No focus by the browser's own rule (a menu entry acts on its click alone), no text
      // selection, no scrolling or zooming, no navigation by a side button.
      e.preventDefault();
      // A pointer goes down only from up: a press still held here lost its release elsewhere.
      if (TD.pressed[e.pointerId]) TD.pointerUp(e, true);
      var el = TD.control(e.target);
      var button = TD.button(e);
      if (!el || !button) return;
      TD.pressed[e.pointerId] = {id: el._tarvo, button: button, el: el};
      _tarvo_pointer(1, el._tarvo, button, TD.shift(e), 1);
    },
    letGo: function() {
      // Releases the page will never hear (it lost the focus, or was hidden): let go, away from
      // their buttons, so that the next press acts on the press.
      for (var id in TD.pressed) TD.pointerUp({pointerId: id}, true);
    },
    refocus: function(e) {
      // The focus went to no program button while the page keeps it (a press off the buttons,
      // on a dialog's own area or a menu entry; nothing at all): back to the front window's
      // button, which shows the highlight.
      if (TD.quiet || TD.ended || (e.type === 'focusout' && e.relatedTarget)) return;
      queueMicrotask(function() {
        var a = document.activeElement;
        if (!TD.ended && document.hasFocus() && !TD.control(a)) TD.focusFront();
      });
    },
    pointerUp: function(e, cancelled) {
      if (e.button > 2) e.preventDefault(); // a side button's release: no navigation
      var p = TD.pressed[e.pointerId];
      if (!p) return;
      delete TD.pressed[e.pointerId];
      if (TD.ended) return;
      if (!cancelled) TD.recent = {el: p.el, t: e.timeStamp};
      _tarvo_pointer(0, p.id, cancelled ? p.button : TD.button(e) || p.button, cancelled ? 0 : TD.shift(e),
                     cancelled ? 0 : TD.over(e, p));
    },
    over: function(e, p) {
      var under = document.elementFromPoint(e.clientX, e.clientY);
      return under && TD.control(under) === p.el ? 1 : 0;
    },
    click: function(e) {
      // A click that no pointer made on the button: a screen reader's or a switch's activation
      // (TalkBack, Switch Access, a reader's browse mode). It is a left press and release on it.
      var el = TD.control(e.target);
      if (!el || TD.ended) return;
      var r = TD.recent;
      TD.recent = null;
      if (r && r.el === el && e.timeStamp - r.t < 1000) return; // the click of a press already heard
      var id = el._tarvo;
      _tarvo_pointer(1, id, 1, TD.shift(e), 1);
      _tarvo_pointer(0, id, 1, TD.shift(e), 1);
    },
    pointerChord: function(e) {
      // A further mouse button going down or up while one is down: the browser reports it as a
      // move whose `button` changed; the program hears a press or a release of that button.
      var p = TD.pressed[e.pointerId];
      if (!p || TD.ended || e.pointerType !== 'mouse' || e.button < 0) return;
      var button = TD.button(e);
      if (!button) return;
      // The model's numbers are the bits of PointerEvent.buttons.
      _tarvo_pointer(e.buttons & button ? 1 : 0, p.id, button, TD.shift(e), TD.over(e, p));
    },
    div: function(cls, parent) {
      var d = document.createElement('div');
      d.className = cls;
      if (parent) parent.appendChild(d);
      return d;
    },
    showWindows: function() {
      // The front non-modal window fills the page; the others wait hidden and inert behind it.
      var top = null;
      TD.order.forEach(function(n) { if (!TD.wins[n].modal) top = n; });
      TD.order.forEach(function(n) {
        var w = TD.wins[n];
        w.root.classList.toggle('tarvo-active', n === TD.order[TD.order.length - 1]);
        if (w.modal) {
          // Its own first focus is the browser's rule: the program's follows at once.
          TD.quiet = true;
          try {
            if (!w.root.open) w.root.showModal();
          } finally {
            TD.quiet = false;
          }
          return;
        }
        w.root.hidden = n !== top;
        w.root.inert = n !== top;
      });
    },
    focusFront: function() {
      var w = TD.wins[TD.order[TD.order.length - 1]];
      if (!w) return;
      TD.quiet = true;
      try {
        if (w.focused) w.focused.focus({preventScroll: true});
        else if (document.activeElement && document.activeElement !== document.body)
          document.activeElement.blur();
      } finally {
        TD.quiet = false;
      }
    },
    attr: function(el, name, value) {
      if (value) el.setAttribute(name, value);
      else el.removeAttribute(name);
    },
    speak: function(el) {
      // The reader's words where they are not the text as shown: a button's or a group's name
      // and description, or a text's words in a span only readers find.
      if (el._name === undefined) return;
      if (el._role === 2 || el._role === 3) {
        var shown = el._role === 2 ? el.textContent : '';
        TD.attr(el, 'aria-label', el._name !== shown ? el._name : '');
        TD.attr(el, 'aria-description', el._desc);
        return;
      }
      if (el._role !== 1) return;
      var words = el._name + (el._desc ? ', ' + el._desc : '');
      var same = el._vis && el._vis.textContent === words;
      if (el._vis) TD.attr(el._vis, 'aria-hidden', same ? '' : 'true');
      if (same) {
        if (el._sr) el._sr.remove();
        el._sr = null;
        return;
      }
      if (!el._sr) {
        el._sr = document.createElement('span');
        el._sr.className = 'tarvo-sr';
        el.insertBefore(el._sr, el.firstChild);
      }
      if (el._sr.textContent !== words) el._sr.textContent = words;
    },
    barHeight: function() {
      // A menu bar's height, as its style gives it.
      var bar = TD.div('tarvo-menubar', document.body);
      bar.hidden = true;
      var s = getComputedStyle(bar);
      var h = parseFloat(s.height) + parseFloat(s.borderTopWidth) + parseFloat(s.borderBottomWidth);
      bar.remove();
      return Math.round(h);
    },
    updateMenubar: function(w) {
      var any = false;
      for (var c = w.menubar.firstChild; c; c = c.nextSibling) if (!c.hidden) any = true;
      w.menubar.hidden = !any;
    },
    endPage: function() {
      var body = document.body;
      body.textContent = '';
      body.className = 'tarvo tarvo-ended';
      var main = document.createElement('main');
      var h = document.createElement('h1');
      h.textContent = 'Il programma è terminato.';
      var p = document.createElement('p');
      p.textContent = 'Per ricominciare, ricarica la pagina.';
      main.appendChild(h);
      main.appendChild(p);
      body.appendChild(main);
      document.title = 'Tarvo: il programma è terminato';
    }
  },

  tarvo_dom_start__deps: ['$TD'],
  tarvo_dom_start: function() {
    var body = document.body;
    body.className = 'tarvo';
    TD.live = TD.div('tarvo-live', body);
    TD.live.setAttribute('aria-live', 'polite');
    TD.listen(window, 'keydown', function(e) { TD.key(e, true); }, true);
    TD.listen(window, 'keyup', function(e) { TD.key(e, false); }, true);
    TD.listen(document, 'pointerdown', TD.pointerDown, true);
    TD.listen(document, 'pointerup', function(e) { TD.pointerUp(e, false); }, true);
    TD.listen(document, 'pointercancel', function(e) { TD.pointerUp(e, true); }, true);
    TD.listen(document, 'lostpointercapture', function(e) { TD.pointerUp(e, true); }, true);
    TD.listen(document, 'pointermove', TD.pointerChord, true);
    TD.listen(document, 'click', TD.click, true);
    var prevent = function(e) { e.preventDefault(); };
    TD.listen(document, 'contextmenu', prevent, true);
    TD.listen(document, 'selectstart', prevent, true);
    TD.listen(document, 'dragstart', prevent, true);
    TD.listen(document, 'mousedown', prevent, true);
    TD.listen(document, 'mouseup', function(e) { if (e.button > 2) e.preventDefault(); }, true);
    TD.listen(document, 'auxclick', prevent, true);
    TD.listen(document, 'dblclick', prevent, true);
    TD.listen(document, 'focusout', TD.refocus, true);
    TD.listen(document, 'focusin', function(e) {
      var el = TD.control(e.target);
      if (!el) TD.refocus(e);
      if (!el || TD.quiet || TD.ended) return;
      var w = TD.wins[el._win];
      if (w.focused && w.focused !== el) w.focused.classList.remove('tarvo-focus');
      w.focused = el;
      el.classList.add('tarvo-focus');
      _tarvo_focus(el._tarvo);
    }, true);
    TD.listen(window, 'blur', function() {
      if (TD.ended) return;
      TD.letGo();
      _tarvo_blur();
    });
    TD.listen(window, 'focus', function() {
      // Back from elsewhere: the focus on the front window's button, wherever the page had it.
      if (!TD.ended && document.activeElement === document.body) TD.focusFront();
    });
    TD.listen(window, 'resize', function() {
      if (!TD.ended) _tarvo_viewport(window.innerWidth, window.innerHeight, TD.barHeight());
    });
    TD.listen(document, 'visibilitychange', function() {
      if (!document.hidden || TD.ended) return;
      TD.letGo();
      _tarvo_blur();
    });
    TD.observer = new ResizeObserver(function(entries) {
      entries.forEach(function(entry) {
        var c = entry.target;
        // A window waiting behind the front one keeps its size, as a covered window does.
        if (!TD.ended && c._win && c.isConnected && !c.parentNode.hidden)
          _tarvo_resized(c._win, c.clientWidth, c.clientHeight);
      });
    });
  },

  tarvo_dom_window__deps: ['$TD'],
  tarvo_dom_window: function(win, modal, title, css) {
    title = TD.text(title);
    var root;
    var w = {modal: !!modal};
    if (modal) {
      root = document.createElement('dialog');
      root.className = 'tarvo-window tarvo-modal';
      var bar = TD.div('tarvo-titlebar', root);
      bar.id = 'tarvo-title-' + win;
      bar.textContent = title;
      root.setAttribute('aria-labelledby', bar.id);
      // The modal screens close by their own buttons only.
      root.addEventListener('cancel', function(e) { e.preventDefault(); });
    } else {
      root = document.createElement('section');
      root.className = 'tarvo-window';
      root.setAttribute('aria-label', title);
      root.hidden = true;
    }
    w.root = root;
    w.menubar = TD.div('tarvo-menubar', root);
    w.menubar.setAttribute('role', 'menubar');
    w.menubar.setAttribute('aria-label', title);
    w.menubar.hidden = true;
    w.client = TD.div('tarvo-client', root);
    w.client.style.cssText = TD.text(css);
    w.client._win = win;
    TD.wins[win] = w;
    TD.order.push(win);
    document.body.appendChild(root);
    TD.observer.observe(w.client);
  },

  tarvo_dom_client_size__deps: ['$TD'],
  tarvo_dom_client_size: function(win, out) {
    // The size a full-page window's client area will have: the page's, less the menu bar when
    // an entry shows. Read before the window's elements exist or show, so that nothing is laid
    // out for it yet (the root is hidden: the bar's height is its style's).
    var w = TD.wins[win];
    var bar = 0;
    if (!w.menubar.hidden) {
      var s = getComputedStyle(w.menubar);
      bar = parseFloat(s.height) + parseFloat(s.borderTopWidth) + parseFloat(s.borderBottomWidth);
    }
    HEAP32[out >> 2] = Math.round(TD.fit.width);
    HEAP32[(out >> 2) + 1] = Math.max(0, Math.round(TD.fit.height - bar));
  },

  tarvo_dom_viewport__deps: ['$TD'],
  tarvo_dom_viewport: function(out) {
    HEAP32[out >> 2] = window.innerWidth;
    HEAP32[(out >> 2) + 1] = window.innerHeight;
    HEAP32[(out >> 2) + 2] = TD.barHeight();
  },

  tarvo_dom_fit__deps: ['$TD'],
  tarvo_dom_fit: function(zoom, width, height, top) {
    // A window that does not fill the viewport as it is gets its own size, zoomed and placed.
    TD.fit = {zoom: zoom, width: width, height: height};
    var body = document.body;
    body.classList.toggle('tarvo-fitted', zoom !== 1 || top !== 0);
    body.style.setProperty('--tarvo-zoom', String(zoom));
    body.style.setProperty('--tarvo-w', width + 'px');
    body.style.setProperty('--tarvo-h', height + 'px');
    body.style.setProperty('--tarvo-top', top + 'px');
  },

  tarvo_dom_control__deps: ['$TD'],
  tarvo_dom_control: function(id, win, parent, kind, role) {
    // kind: 0 label, 1 option button, 2 command button, 3 frame, 4 picture box, 5 shape;
    // role: 0 none (hidden from readers), 1 text, 2 button, 3 group
    var w = TD.wins[win];
    var into = parent >= 0 ? TD.els[parent] : w.client;
    var el;
    if (kind === 1 || kind === 2) {
      el = document.createElement('button');
      el.type = 'button';
      el.className = 'tarvo-c tarvo-button';
      el.tabIndex = -1;
    } else {
      el = TD.div('tarvo-c ' + ['tarvo-label', '', '', 'tarvo-frame', 'tarvo-picture', 'tarvo-shape'][kind]);
      if (kind === 0) {
        el._vis = document.createElement('span');
        el.appendChild(el._vis);
      }
      if (kind === 3) {
        TD.div('tarvo-line', el);
        el._caption = document.createElement('span');
        el._caption.className = 'tarvo-caption';
        el._caption.setAttribute('aria-hidden', 'true'); // the group's name says it
        el.appendChild(el._caption);
      }
      if (kind === 5) TD.div('tarvo-figure', el);
    }
    if (role === 0) el.setAttribute('aria-hidden', 'true');
    if (role === 3) el.setAttribute('role', 'group');
    el._tarvo = id;
    el._win = win;
    el._kind = kind;
    el._role = role;
    TD.els[id] = el;
    into.appendChild(el);
  },

  tarvo_dom_style__deps: ['$TD'],
  tarvo_dom_style: function(id, layer, css) {
    var el = TD.els[id];
    if (layer === 1) el = el.firstChild;
    else if (layer === 2) el = el._caption;
    el.style.cssText = TD.text(css);
  },

  tarvo_dom_text__deps: ['$TD'],
  tarvo_dom_text: function(id, text) {
    var el = TD.els[id];
    text = TD.text(text);
    if (el._kind === 3) {
      el._caption.textContent = text ? ' ' + text : '';
    } else if (el._kind === 0) {
      if (el._vis.textContent !== text) el._vis.textContent = text;
    } else if (el._kind === 1 || el._kind === 2) {
      if (el.textContent !== text) el.textContent = text;
    }
    TD.speak(el);
  },

  tarvo_dom_reader__deps: ['$TD'],
  tarvo_dom_reader: function(id, name, description) {
    var el = TD.els[id];
    el._name = TD.text(name);
    el._desc = TD.text(description);
    TD.speak(el);
  },

  tarvo_dom_state__deps: ['$TD'],
  tarvo_dom_state: function(id, enabled, visible, tabbable) {
    var el = TD.els[id];
    el.hidden = !visible;
    if (el.tagName === 'BUTTON') {
      if (el.disabled === !!enabled) el.disabled = !enabled;
      el.tabIndex = tabbable ? 0 : -1;
      if (el._menu) {
        el.tabIndex = -1;
        TD.updateMenubar(el._w);
      }
    }
  },

  tarvo_dom_menu__deps: ['$TD'],
  tarvo_dom_menu: function(id, win, caption) {
    var el = TD.els[id];
    if (!el) {
      var w = TD.wins[win];
      el = document.createElement('button');
      el.type = 'button';
      el.setAttribute('role', 'menuitem');
      el.tabIndex = -1;
      el._tarvo = id;
      el._menu = true;
      el._w = w;
      el.addEventListener('click', function() { if (!TD.ended) _tarvo_menu(id); });
      TD.els[id] = el;
      w.menubar.appendChild(el);
    }
    el.textContent = TD.text(caption);
  },

  tarvo_dom_front__deps: ['$TD'],
  tarvo_dom_front: function(win, title) {
    var i = TD.order.indexOf(win);
    if (i >= 0) TD.order.splice(i, 1);
    TD.order.push(win);
    TD.showWindows();
    TD.focusFront();
    document.title = TD.text(title);
  },

  tarvo_dom_close__deps: ['$TD'],
  tarvo_dom_close: function(win) {
    var w = TD.wins[win];
    if (!w) return;
    TD.observer.unobserve(w.client);
    if (w.modal && w.root.open) w.root.close();
    w.root.remove();
    delete TD.wins[win];
    TD.order.splice(TD.order.indexOf(win), 1);
    for (var id in TD.els) if (!TD.els[id].isConnected) delete TD.els[id];
    TD.showWindows();
  },

  tarvo_dom_focus__deps: ['$TD'],
  tarvo_dom_focus: function(win, id) {
    // Each window keeps its focused button; only the front window's holds the page's focus.
    var w = TD.wins[win];
    if (!w) return;
    var el = id >= 0 ? TD.els[id] : null;
    if (w.focused && w.focused !== el) w.focused.classList.remove('tarvo-focus');
    w.focused = el;
    if (el) el.classList.add('tarvo-focus');
    if (TD.order[TD.order.length - 1] === win) TD.focusFront();
  },

  tarvo_dom_timer__deps: ['$TD'],
  tarvo_dom_timer: function(id, ms) {
    if (TD.timers[id]) clearInterval(TD.timers[id]);
    delete TD.timers[id];
    if (ms > 0 && !TD.ended)
      TD.timers[id] = setInterval(function() { _tarvo_timer(id); }, ms);
  },

  tarvo_dom_post__deps: ['$TD'],
  tarvo_dom_post: function() {
    TD.posted = setTimeout(function() { TD.posted = 0; if (!TD.ended) _tarvo_posted(); }, 0);
  },

  tarvo_dom_announce__deps: ['$TD'],
  tarvo_dom_announce: function(words) {
    // A new text node each time: the same words said twice are heard twice.
    TD.live.textContent = '';
    TD.live.appendChild(document.createTextNode(TD.text(words)));
  },

  tarvo_dom_end__deps: ['$TD'],
  tarvo_dom_end: function() {
    TD.ended = true;
    for (var id in TD.timers) clearInterval(TD.timers[id]);
    TD.timers = {};
    if (TD.posted) clearTimeout(TD.posted);
    TD.listeners.forEach(function(l) { l[0].removeEventListener(l[1], l[2], l[3]); });
    TD.listeners = [];
    TD.observer.disconnect();
    TD.endPage();
  }
});
