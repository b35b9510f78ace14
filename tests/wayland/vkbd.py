"""A keyboard with a real layout for a Wayland compositor: the virtual-keyboard protocol
(zwp_virtual_keyboard_v1, as sway offers it) spoken over the Wayland socket, with the keymap that
libxkbcommon compiles for a layout ("it", "fr", ...), pressing keys by their evdev codes as a
physical keyboard of that layout would.

Unlike wtype, which makes a keymap of its own for the symbols it types, this keyboard keeps the
layout's keymap: "5" on a French keyboard is the key whose unshifted symbol is "(".
"""

import ctypes
import os
import socket
import struct
import time

_xkb = ctypes.CDLL("libxkbcommon.so.0")
_libc = ctypes.CDLL(None)


class _RuleNames(ctypes.Structure):
    _fields_ = [(n, ctypes.c_char_p) for n in ("rules", "model", "layout", "variant", "options")]


_xkb.xkb_context_new.restype = ctypes.c_void_p
_xkb.xkb_context_new.argtypes = [ctypes.c_int]
_xkb.xkb_keymap_new_from_names.restype = ctypes.c_void_p
_xkb.xkb_keymap_new_from_names.argtypes = [
    ctypes.c_void_p,
    ctypes.POINTER(_RuleNames),
    ctypes.c_int,
]
_xkb.xkb_keymap_get_as_string.restype = ctypes.c_void_p
_xkb.xkb_keymap_get_as_string.argtypes = [ctypes.c_void_p, ctypes.c_int]
_xkb.xkb_keymap_key_get_syms_by_level.restype = ctypes.c_int
_xkb.xkb_keymap_key_get_syms_by_level.argtypes = [
    ctypes.c_void_p,
    ctypes.c_uint32,
    ctypes.c_uint32,
    ctypes.c_uint32,
    ctypes.POINTER(ctypes.POINTER(ctypes.c_uint32)),
]
_xkb.xkb_keymap_mod_get_index.restype = ctypes.c_uint32
_xkb.xkb_keymap_mod_get_index.argtypes = [ctypes.c_void_p, ctypes.c_char_p]
_xkb.xkb_keysym_from_name.restype = ctypes.c_uint32
_xkb.xkb_keysym_from_name.argtypes = [ctypes.c_char_p, ctypes.c_int]
_libc.free.argtypes = [ctypes.c_void_p]

XKB_KEYCODE_OFFSET = 8  # XKB keycode = evdev code + 8
KEY_LEFTSHIFT = 42
DIGIT_ROW = {d: 2 + (d - 1) % 10 for d in range(10)}  # evdev KEY_1 = 2 .. KEY_0 = 11
KEYPAD = dict(zip(range(10), (82, 79, 80, 81, 75, 76, 77, 71, 72, 73)))  # KEY_KP0 .. KEY_KP9
KEY_KPASTERISK = 55
KEY_ENTER = 28
KEY_SPACE = 57


class Keymap:
    def __init__(self, layout, variant=""):
        ctx = _xkb.xkb_context_new(0)
        names = _RuleNames(b"evdev", b"pc105", layout.encode(), variant.encode(), b"")
        self.km = _xkb.xkb_keymap_new_from_names(ctx, ctypes.byref(names), 0)
        if not self.km:
            raise RuntimeError(f"no keymap for layout {layout!r}")
        text = _xkb.xkb_keymap_get_as_string(self.km, 1)
        self.text = ctypes.string_at(text)
        _libc.free(text)

    def mask(self, modifier):
        index = _xkb.xkb_keymap_mod_get_index(self.km, modifier.encode())
        if index == 0xFFFFFFFF:
            raise RuntimeError(f"no modifier {modifier}")
        return 1 << index

    def symbol(self, evdev, level):
        syms = ctypes.POINTER(ctypes.c_uint32)()
        n = _xkb.xkb_keymap_key_get_syms_by_level(
            self.km, evdev + XKB_KEYCODE_OFFSET, 0, level, ctypes.byref(syms)
        )
        return syms[0] if n > 0 else 0

    def find(self, name):
        """(evdev code, level) of the first key whose symbol at level 0 or 1 is `name`."""
        want = _xkb.xkb_keysym_from_name(name.encode(), 0)
        for level in (0, 1):
            for evdev in range(1, 248):
                if self.symbol(evdev, level) == want:
                    return evdev, level
        raise KeyError(f"no key gives {name}")


def _pad(data):
    return data + b"\0" * (-len(data) % 4)


def _string(s):
    raw = s.encode() + b"\0"
    return struct.pack("<I", len(raw)) + _pad(raw)


class VirtualKeyboard:
    """One virtual keyboard on the compositor of $WAYLAND_DISPLAY, with the keymap given."""

    def __init__(self, keymap, runtime_dir, display):
        self.keymap = keymap
        self.sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.sock.connect(os.path.join(runtime_dir, display))
        self.next_id = 2
        self.buffer = b""
        self.globals = {}
        self.locked = 0
        self.time = int(time.monotonic() * 1000)
        registry = self._new_id()
        self._send(1, 1, struct.pack("<I", registry))  # wl_display.get_registry
        self.registry = registry
        self.roundtrip()
        seat = self._bind("wl_seat", 1)
        manager = self._bind("zwp_virtual_keyboard_manager_v1", 1)
        self.kbd = self._new_id()
        self._send(manager, 0, struct.pack("<II", seat, self.kbd))  # create_virtual_keyboard
        fd = os.memfd_create("keymap")
        data = keymap.text + b"\0"
        os.write(fd, data)
        self._send(self.kbd, 0, struct.pack("<II", 1, len(data)), fds=[fd])  # keymap, xkb_v1
        os.close(fd)
        self.roundtrip()

    def _new_id(self):
        self.next_id += 1
        return self.next_id - 1

    def _send(self, obj, opcode, payload, fds=()):
        msg = struct.pack("<II", obj, (8 + len(payload)) << 16 | opcode) + payload
        ancillary = (
            [(socket.SOL_SOCKET, socket.SCM_RIGHTS, struct.pack(f"{len(fds)}i", *fds))]
            if fds
            else []
        )
        self.sock.sendmsg([msg], ancillary)

    def _bind(self, interface, version):
        if interface not in self.globals:
            raise RuntimeError(f"the compositor offers no {interface}")
        new = self._new_id()
        self._send(
            self.registry,
            0,
            struct.pack("<I", self.globals[interface])
            + _string(interface)
            + struct.pack("<II", version, new),
        )
        return new

    def roundtrip(self, timeout=10.0):
        """Waits until the compositor has handled every request sent so far."""
        callback = self._new_id()
        self._send(1, 0, struct.pack("<I", callback))  # wl_display.sync
        self.sock.settimeout(timeout)
        while True:
            while len(self.buffer) >= 8:
                obj, word = struct.unpack_from("<II", self.buffer)
                size, opcode = word >> 16, word & 0xFFFF
                if len(self.buffer) < size:
                    break
                body, self.buffer = self.buffer[8:size], self.buffer[size:]
                if obj == 1 and opcode == 0:  # wl_display.error
                    raise RuntimeError(f"Wayland protocol error: {body!r}")
                if obj == self.registry and opcode == 0:  # wl_registry.global
                    name, length = struct.unpack_from("<II", body)
                    self.globals[body[8 : 8 + length - 1].decode()] = name
                if obj == callback and opcode == 0:
                    return
            chunk = self.sock.recv(65536)
            if not chunk:
                raise RuntimeError("the compositor closed the connection")
            self.buffer += chunk

    def _stamp(self):
        # Strictly increasing: a press never shares its time with the release before it.
        self.time = max(self.time + 1, int(time.monotonic() * 1000))
        return self.time & 0xFFFFFFFF

    def _modifiers(self, depressed):
        self._send(self.kbd, 2, struct.pack("<IIII", depressed, 0, self.locked, 0))

    def _key(self, evdev, pressed):
        self._send(self.kbd, 1, struct.pack("<III", self._stamp(), evdev, 1 if pressed else 0))

    def set_num_lock(self, on):
        self.locked = self.keymap.mask("Mod2") if on else 0
        self._modifiers(0)
        self.roundtrip()

    def key_down(self, evdev):
        self._key(evdev, True)
        self.roundtrip()

    def key_up(self, evdev):
        self._key(evdev, False)
        self.roundtrip()

    def tap(self, evdev, shift=False, wait=True):
        """One key pressed and released, SHIFT held around it if asked (`wait`: a roundtrip)."""
        shift_mask = self.keymap.mask("Shift")
        if shift:
            self._key(KEY_LEFTSHIFT, True)
            self._modifiers(shift_mask)
        self._key(evdev, True)
        self._key(evdev, False)
        if shift:
            self._key(KEY_LEFTSHIFT, False)
            self._modifiers(0)
        if wait:
            self.roundtrip()

    def tap_symbol(self, name, wait=True):
        """The key that gives `name`, at its level (SHIFT for the second)."""
        evdev, level = self.keymap.find(name)
        self.tap(evdev, shift=level == 1, wait=wait)

    def tap_keypad_digit(self, d):
        """A keypad digit as a person types it: NumLock on, no SHIFT."""
        if not self.locked:
            self.set_num_lock(True)
        self.tap(KEYPAD[d])

    def close(self):
        self.sock.close()
