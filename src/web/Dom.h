#pragma once
// The JavaScript side of the binding (dom.js), as the C++ side calls it. Every element is named
// by a small number the C++ side gives it; texts are UTF-8. What each call does to the page is
// told in dom.js.

extern "C" {
void tarvo_dom_start();
// The viewport's width and height in CSS pixels, and the height of a window's menu bar.
void tarvo_dom_viewport(int* seen);
// Where the full-page windows stand: `width` x `height` CSS pixels zoomed by `zoom`, their top
// edge `top` pixels down the viewport (model/Scale.h: ViewportFit); the modal ones zoomed alike.
void tarvo_dom_fit(double zoom, double width, double height, double top);
// A window's root element: a <dialog> for a modal window, a full-page <section> otherwise.
void tarvo_dom_window(int win, int modal, const char* title, const char* css);
// The client area a full-page window (with the menus already made) will have: width, height.
void tarvo_dom_client_size(int win, int* size);
// One control's element in its window, inside `parent` (-1: the window's client area), after
// the elements already there. `kind` is tarvo::Kind, `role` tarvo::ReaderRole.
void tarvo_dom_control(int id, int win, int parent, int kind, int role);
// What a screen reader reads of the element, where it is not its text as shown.
void tarvo_dom_reader(int id, const char* name, const char* description);
// Styles of the element (layer 0) and of what is drawn in it: the frame's line (1) and caption
// (2), the shape's figure (1).
void tarvo_dom_style(int id, int layer, const char* css);
void tarvo_dom_text(int id, const char* text);
void tarvo_dom_state(int id, int enabled, int visible, int tabbable);
void tarvo_dom_menu(int id, int win, const char* caption);
void tarvo_dom_front(int win, const char* title); // shows win in front, the others behind
void tarvo_dom_close(int win);
void tarvo_dom_focus(int win, int id); // -1: no control of win keeps the focus
void tarvo_dom_timer(int id, int intervalMs); // 0 stops it
void tarvo_dom_post();
void tarvo_dom_announce(const char* words);
void tarvo_dom_end();
}
