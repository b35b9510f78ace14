#pragma once
// The one contract between the program and its page: every call across the boundary, in both
// directions. The page's side is web/dom.js; the program's exports are in web/PageExports.cpp.
//
// The page knows no rule, number or word of the program. It hands over what the DOM says, as the
// DOM says it (KeyboardEvent.code and .key, PointerEvent.button and .buttons, the modifier keys,
// time stamps, sizes in CSS pixels), and acts on the program's answer: an event the program
// consumed has its default action prevented and goes no further. The program sends back what the
// page must change, as records (tarvo_page_apply), and the page applies them as they are.
//
// Windows and elements (controls and menu entries) are named by numbers the program gives, from
// 1 up; 0 names none. Texts are UTF-8; the page writes its own into the program's two buffers
// (tarvo_text) before a call that reads them.

extern "C" {

// ---- The program to the page ----------------------------------------------------------------

// Sets up the page (its live region, listeners and size observer) and reads the viewport:
// `viewport` receives its width and height in CSS pixels and the height of a menu bar. The
// program's text buffers (tarvo_text) hold `textBytes` bytes each.
void tarvo_page_start(int* viewport, int textBytes);
// Changes to the page: a JSON array of `length` bytes of records, applied in order, all that one
// event of the page (or the start) changed. Each record is an object whose "op" says what it does:
//   fit      {zoom, width, height, top}  where the full-page windows stand: `width` x `height`
//                                        CSS pixels zoomed by `zoom`, their top edge `top`
//                                        pixels down the viewport (model/Scale.h: ViewportFit);
//                                        the modal ones zoomed alike
//   window   {win, modal, title, css}    a window's root (a <dialog> for a modal one, else a
//                                        <section>), hidden, its menu bar hidden and its client
//                                        area styled `css`; its client area's size is reported
//   control  {id, win, in, tag, class, attrs, parts, textPart}
//                                        a control's element, put last in control `in` (0: the
//                                        window's client area): <tag class attrs...> holding
//                                        `parts`, [{tag, class, attrs}], its text in part
//                                        `textPart` (0: the element itself, n: the nth part, -1:
//                                        none); may carry the fields of "set" too
//   entry    {id, win}                   a menu entry, last in the window's menu bar
//   set      {id, styles, text, shown, enabled, tab, label, description, sr, hideText}
//                                        any of them: `styles` the CSS of the element (0) and of
//                                        its parts (1, 2), null for one unchanged; `shown`,
//                                        `enabled` and `tab` (a tab stop) its states; `label` and
//                                        `description` what a reader names it ("" removes them);
//                                        `sr` words only a reader finds, in a first <span
//                                        class="tarvo-sr"> ("" removes it); `hideText` hides the
//                                        part with the shown text from readers
//   menubar  {win, shown}
//   stack    {win, active, hidden}       a window's place, sent back to front for every window:
//                                        `active` the front one, `hidden` (and inert) a full-page
//                                        one behind another; a modal one is shown modally
//   mark     {win, id}                   the window's focused button, which shows the focus mark
//   focus    {id}                        the element that holds the page's focus (0: none),
//                                        given once the records are applied
//   title    {text}                      the page's title
//   close    {win}                       the window and its elements go
//   timer    {id, ms}                    a timer calls tarvo_timer(id) every `ms` (0: stops it)
//   post     {}                          tarvo_posted() runs from a fresh task of the page
//   say      {words}                     into the live region, which readers read out
//   end      {title, heading, advice}    every timer and listener goes; the page says that the
//                                        program has ended
void tarvo_page_apply(const char* records, int length);

// ---- The page to the program ----------------------------------------------------------------

// One of the two buffers the page writes texts into.
char* tarvo_text(int which);
// A key went down or up: KeyboardEvent.code in buffer 0, .key in buffer 1, the modifier keys and
// .repeat. Returns 1 when the program consumed it.
int tarvo_key(int down, int shift, int ctrl, int alt, int meta, int repeat);
// A pointer went down on `target` (the innermost element of the program there, or 0): its
// pointerId, whether it is a mouse, PointerEvent.button and .buttons. Returns 1 when consumed.
int tarvo_pointer_down(
    int pointer, int mouse, int button, int buttons, int target, int shift, int ctrl, int alt);
// A pointer came up with `under` the element of the program below it now (0: none), at `time`
// (Event.timeStamp, ms). Returns 1 when consumed.
int tarvo_pointer_up(
    int pointer, int mouse, int button, int under, int shift, int ctrl, int alt, double time);
// A pointer moved with a button changed (PointerEvent.button not -1): a mouse button pressed or
// released while another is down.
void tarvo_pointer_move(
    int pointer, int mouse, int button, int buttons, int under, int shift, int ctrl, int alt);
// A pointer's release will never come (pointercancel, lostpointercapture).
void tarvo_pointer_cancel(int pointer);
// A click on an element of the program, at `time`: also one that no pointer made (a screen
// reader's or a switch's activation).
void tarvo_click(int target, int shift, int ctrl, int alt, double time);
// The page moved its focus to a button of the program by itself (a screen reader, a switch).
void tarvo_focus(int target);
// The page no longer hears the keyboard and the pointers (the window lost the focus, or the page
// was hidden).
void tarvo_blur();
// A window's client area is `width` x `height` CSS pixels now.
void tarvo_resized(int win, int width, int height);
// The viewport is `width` x `height` CSS pixels now; a menu bar is `bar` pixels high.
void tarvo_viewport(int width, int height, int bar);
void tarvo_timer(int id);
void tarvo_posted();
}
