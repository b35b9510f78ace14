// The page side of the browser binding. web/Page.h declares every call between the program and
// the page, in both directions. This script applies the records of changes the program sends, as
// they are, and hands the page's events to the program as the DOM gives them, acting on its
// answer: an event it consumed has its default action prevented and goes no further. Which keys,
// buttons and clicks act, the windows' order and where the focus goes are the program's; the page
// knows no window or control of it, none of its numbers and none of its words.
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
// Events: keydown/keyup (capture, on the window) -> _tarvo_key, KeyboardEvent.code and .key in
// the two text buffers; pointerdown, pointerup, a pointermove whose button changed (a chord),
// pointercancel and lostpointercapture -> _tarvo_pointer_down, _up, _move, _cancel; a click on an
// element of the program (a menu entry's, a button's that no pointer made) -> _tarvo_click; a
// button focused by the page itself (a screen reader, a switch) -> _tarvo_focus; the client
// area's size (ResizeObserver) -> _tarvo_resized; the viewport's (resize) -> _tarvo_viewport;
// blur and a hidden page -> _tarvo_blur; timers -> _tarvo_timer; posted work -> _tarvo_posted.

mergeInto(LibraryManager.library, {
  $TD: {
    els: {},        // element number -> element (controls and menu entries)
    wins: {},       // window number -> {root, client, menubar, modal, focused}
    timers: {},     // timer number -> interval handle
    listeners: [],  // [target, type, handler, options], removed at the end
    focus: null,    // the element that holds the page's focus, as the program says
    observer: null,
    live: null,
    quiet: false,   // the page's own focus events while the program moves the focus
    refocusDue: false, // the program moved its focus in the records being applied
    ended: false,
    posted: 0,
    textBytes: 0,   // the size of each of the program's text buffers
    listen: function(target, type, handler, options) {
      target.addEventListener(type, handler, options);
      TD.listeners.push([target, type, handler, options]);
    },
    texts: [],      // where the program's two text buffers are
    buffer: function(which, s) {
      stringToUTF8(s || '', TD.texts[which], TD.textBytes);
    },
    // The number of the innermost element of the program at `node`; 0 for none.
    number: function(node) {
      for (; node && node.nodeType === 1; node = node.parentNode)
        if (node._tarvo) return node._tarvo;
      return 0;
    },
    // The button of the program at `node` (a menu entry is none), which can hold the page's
    // focus; null for none.
    button: function(node) {
      var el = TD.els[TD.number(node)];
      return el && el.tagName === 'BUTTON' && !el._entry ? el : null;
    },
    under: function(e) {
      return TD.number(document.elementFromPoint(e.clientX, e.clientY));
    },
    key: function(e, down) {
      if (TD.ended) return;
      TD.buffer(0, e.code);
      TD.buffer(1, e.key);
      if (_tarvo_key(down, e.shiftKey, e.ctrlKey, e.altKey, e.metaKey, e.repeat)) {
        e.preventDefault();
        e.stopPropagation();
      }
    },
    pointerDown: function(e) {
      if (TD.ended) return;
      if (_tarvo_pointer_down(e.pointerId, e.pointerType === 'mouse', e.button, e.buttons,
                              TD.number(e.target), e.shiftKey, e.ctrlKey, e.altKey))
        e.preventDefault();
    },
    pointerUp: function(e) {
      if (TD.ended) return;
      if (_tarvo_pointer_up(e.pointerId, e.pointerType === 'mouse', e.button, TD.under(e),
                            e.shiftKey, e.ctrlKey, e.altKey, e.timeStamp))
        e.preventDefault();
    },
    pointerMove: function(e) {
      // A move with no button changed is none of the program's.
      if (TD.ended || e.button < 0) return;
      _tarvo_pointer_move(e.pointerId, e.pointerType === 'mouse', e.button, e.buttons,
                          TD.under(e), e.shiftKey, e.ctrlKey, e.altKey);
    },
    pointerCancel: function(e) {
      if (!TD.ended) _tarvo_pointer_cancel(e.pointerId);
    },
    click: function(e) {
      var n = TD.number(e.target);
      if (n && !TD.ended) _tarvo_click(n, e.shiftKey, e.ctrlKey, e.altKey, e.timeStamp);
    },
    focusIn: function(e) {
      var el = TD.button(e.target);
      if (!el) TD.refocus(e);
      if (!el || TD.quiet || TD.ended) return;
      _tarvo_focus(el._tarvo);
    },
    refocus: function(e) {
      // The focus went to no button of the program while the page keeps it (a press off the
      // buttons, on a dialog's own area or a menu entry; nothing at all): back where the program
      // has it, which shows the highlight.
      if (TD.quiet || TD.ended || (e.type === 'focusout' && e.relatedTarget)) return;
      queueMicrotask(function() {
        var a = document.activeElement;
        if (!TD.ended && document.hasFocus() && !TD.button(a)) TD.focusFront();
      });
    },
    lostKeyboard: function() {
      if (!TD.ended) _tarvo_blur();
    },
    focusFront: function() {
      TD.quiet = true;
      try {
        if (TD.focus) TD.focus.focus({preventScroll: true});
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
    make: function(tag, cls, attrs) {
      var el = document.createElement(tag);
      if (tag === 'button') {
        el.type = 'button';
        el.tabIndex = -1;
      }
      if (cls) el.className = cls;
      for (var name in attrs) el.setAttribute(name, attrs[name]);
      return el;
    },
    barHeight: function() {
      // A menu bar's height, as its style gives it.
      var bar = TD.make('div', 'tarvo-menubar', {});
      bar.hidden = true;
      document.body.appendChild(bar);
      var s = getComputedStyle(bar);
      var h = parseFloat(s.height) + parseFloat(s.borderTopWidth) + parseFloat(s.borderBottomWidth);
      bar.remove();
      return Math.round(h);
    },
    // The records of web/Page.h, by their "op".
    ops: {
      window: function(r) {
        var root;
        if (r.modal) {
          root = TD.make('dialog', 'tarvo-window tarvo-modal', {});
          var bar = TD.make('div', 'tarvo-titlebar', {id: 'tarvo-title-' + r.win});
          bar.textContent = r.title;
          root.appendChild(bar);
          root.setAttribute('aria-labelledby', bar.id);
          // The program closes its windows itself, by their own buttons.
          root.addEventListener('cancel', function(e) { e.preventDefault(); });
        } else {
          root = TD.make('section', 'tarvo-window', {'aria-label': r.title});
          root.hidden = true;
        }
        var w = {root: root, modal: r.modal, focused: null};
        w.menubar = TD.make('div', 'tarvo-menubar', {role: 'menubar', 'aria-label': r.title});
        w.menubar.hidden = true;
        root.appendChild(w.menubar);
        w.client = TD.make('div', 'tarvo-client', {});
        w.client.style.cssText = r.css;
        w.client._win = r.win;
        root.appendChild(w.client);
        TD.wins[r.win] = w;
        document.body.appendChild(root);
        TD.observer.observe(w.client);
      },
      control: function(r) {
        var el = TD.make(r.tag, r.class, r.attrs);
        el._parts = [el];
        r.parts.forEach(function(p) {
          var part = TD.make(p.tag, p.class, p.attrs);
          el.appendChild(part);
          el._parts.push(part);
        });
        el._text = el._parts[r.textPart];
        el._tarvo = r.id;
        TD.els[r.id] = el;
        (r.in ? TD.els[r.in] : TD.wins[r.win].client).appendChild(el);
        TD.ops.set(r);
      },
      entry: function(r) {
        var el = TD.make('button', '', {role: 'menuitem'});
        el._tarvo = r.id;
        el._entry = true;
        el._text = el;
        TD.els[r.id] = el;
        TD.wins[r.win].menubar.appendChild(el);
      },
      set: function(r) {
        var el = TD.els[r.id];
        if (r.styles) r.styles.forEach(function(css, i) { if (css !== null) el._parts[i].style.cssText = css; });
        if (r.text !== undefined && el._text.textContent !== r.text) el._text.textContent = r.text;
        if (r.shown !== undefined) el.hidden = !r.shown;
        if (r.enabled !== undefined && el.disabled === r.enabled) el.disabled = !r.enabled;
        if (r.tab !== undefined) el.tabIndex = r.tab ? 0 : -1;
        if (r.label !== undefined) TD.attr(el, 'aria-label', r.label);
        if (r.description !== undefined) TD.attr(el, 'aria-description', r.description);
        if (r.hideText !== undefined) TD.attr(el._text, 'aria-hidden', r.hideText ? 'true' : '');
        if (r.sr === '') {
          if (el._sr) el._sr.remove();
          el._sr = null;
        } else if (r.sr !== undefined) {
          if (!el._sr) {
            el._sr = TD.make('span', 'tarvo-sr', {});
            el.insertBefore(el._sr, el.firstChild);
          }
          if (el._sr.textContent !== r.sr) el._sr.textContent = r.sr;
        }
      },
      menubar: function(r) {
        TD.wins[r.win].menubar.hidden = !r.shown;
      },
      stack: function(r) {
        var w = TD.wins[r.win];
        w.root.classList.toggle('tarvo-active', r.active);
        if (w.modal) {
          // Its own first focus is the browser's rule: the program's follows.
          TD.quiet = true;
          try {
            if (!w.root.open) w.root.showModal();
          } finally {
            TD.quiet = false;
          }
          return;
        }
        w.root.hidden = r.hidden;
        w.root.inert = r.hidden;
      },
      mark: function(r) {
        var w = TD.wins[r.win];
        if (!w) return;
        var el = TD.els[r.id] || null;
        if (w.focused && w.focused !== el) w.focused.classList.remove('tarvo-focus');
        w.focused = el;
        if (el) el.classList.add('tarvo-focus');
      },
      focus: function(r) {
        // Given once the records are applied: a focus moved while they are would force the
        // page's style and layout at each move.
        TD.focus = TD.els[r.id] || null;
        TD.refocusDue = true;
      },
      fit: function(r) {
        // A window that does not fill the viewport as it is gets its own size, zoomed and placed.
        var body = document.body;
        body.classList.toggle('tarvo-fitted', r.zoom !== 1 || r.top !== 0);
        body.style.setProperty('--tarvo-zoom', String(r.zoom));
        body.style.setProperty('--tarvo-w', r.width + 'px');
        body.style.setProperty('--tarvo-h', r.height + 'px');
        body.style.setProperty('--tarvo-top', r.top + 'px');
      },
      title: function(r) {
        document.title = r.text;
      },
      close: function(r) {
        var w = TD.wins[r.win];
        if (!w) return;
        TD.observer.unobserve(w.client);
        if (w.modal && w.root.open) w.root.close();
        w.root.remove();
        delete TD.wins[r.win];
        for (var id in TD.els) if (!TD.els[id].isConnected) delete TD.els[id];
      },
      timer: function(r) {
        if (TD.timers[r.id]) clearInterval(TD.timers[r.id]);
        delete TD.timers[r.id];
        if (r.ms > 0 && !TD.ended)
          TD.timers[r.id] = setInterval(function() { _tarvo_timer(r.id); }, r.ms);
      },
      post: function() {
        TD.posted = setTimeout(function() { TD.posted = 0; if (!TD.ended) _tarvo_posted(); }, 0);
      },
      say: function(r) {
        // A new text node each time: the same words said twice are heard twice.
        TD.live.textContent = '';
        TD.live.appendChild(document.createTextNode(r.words));
      },
      end: function(r) {
        TD.ended = true;
        for (var id in TD.timers) clearInterval(TD.timers[id]);
        TD.timers = {};
        if (TD.posted) clearTimeout(TD.posted);
        TD.listeners.forEach(function(l) { l[0].removeEventListener(l[1], l[2], l[3]); });
        TD.listeners = [];
        TD.observer.disconnect();
        var body = document.body;
        body.textContent = '';
        body.className = 'tarvo tarvo-ended';
        var main = document.createElement('main');
        var h = document.createElement('h1');
        h.textContent = r.heading;
        var p = document.createElement('p');
        p.textContent = r.advice;
        main.appendChild(h);
        main.appendChild(p);
        body.appendChild(main);
        document.title = r.title;
      }
    }
  },

  tarvo_page_start__deps: ['$TD'],
  tarvo_page_start: function(viewport, textBytes) {
    TD.textBytes = textBytes;
    TD.texts = [_tarvo_text(0), _tarvo_text(1)]; // they stay where they are
    var body = document.body;
    body.className = 'tarvo';
    TD.live = TD.make('div', 'tarvo-live', {'aria-live': 'polite'});
    body.appendChild(TD.live);
    TD.listen(window, 'keydown', function(e) { TD.key(e, true); }, true);
    TD.listen(window, 'keyup', function(e) { TD.key(e, false); }, true);
    TD.listen(document, 'pointerdown', TD.pointerDown, true);
    TD.listen(document, 'pointerup', TD.pointerUp, true);
    TD.listen(document, 'pointercancel', TD.pointerCancel, true);
    TD.listen(document, 'lostpointercapture', TD.pointerCancel, true);
    TD.listen(document, 'pointermove', TD.pointerMove, true);
    TD.listen(document, 'click', TD.click, true);
    // The page's own selection, context menu, dragging, double click and side-button navigation
    // are none of the program's.
    var prevent = function(e) { e.preventDefault(); };
    TD.listen(document, 'contextmenu', prevent, true);
    TD.listen(document, 'selectstart', prevent, true);
    TD.listen(document, 'dragstart', prevent, true);
    TD.listen(document, 'mousedown', prevent, true);
    TD.listen(document, 'mouseup', function(e) { if (e.button > 2) e.preventDefault(); }, true);
    TD.listen(document, 'auxclick', prevent, true);
    TD.listen(document, 'dblclick', prevent, true);
    TD.listen(document, 'focusout', TD.refocus, true);
    TD.listen(document, 'focusin', TD.focusIn, true);
    TD.listen(window, 'blur', TD.lostKeyboard);
    TD.listen(window, 'focus', function() {
      // Back from elsewhere: the focus where the program has it, wherever the page had it.
      if (!TD.ended && document.activeElement === document.body) TD.focusFront();
    });
    TD.listen(window, 'resize', function() {
      if (!TD.ended) _tarvo_viewport(window.innerWidth, window.innerHeight, TD.barHeight());
    });
    TD.listen(document, 'visibilitychange', function() {
      if (document.hidden) TD.lostKeyboard();
    });
    TD.observer = new ResizeObserver(function(entries) {
      entries.forEach(function(entry) {
        var c = entry.target;
        if (!TD.ended && c.isConnected) _tarvo_resized(c._win, c.clientWidth, c.clientHeight);
      });
    });
    HEAP32[viewport >> 2] = window.innerWidth;
    HEAP32[(viewport >> 2) + 1] = window.innerHeight;
    HEAP32[(viewport >> 2) + 2] = TD.barHeight();
  },

  tarvo_page_apply__deps: ['$TD'],
  tarvo_page_apply: function(records, length) {
    // The focus moves the records make on their way (a dialog shown or closed, a focused button
    // hidden) are the browser's, not the program's: the program's own focus is given last.
    var quiet = TD.quiet;
    TD.quiet = true;
    try {
      JSON.parse(UTF8ToString(records, length)).forEach(function(r) { TD.ops[r.op](r); });
    } finally {
      TD.quiet = quiet;
    }
    if (TD.refocusDue && !TD.ended) TD.focusFront();
    TD.refocusDue = false;
  }
});
