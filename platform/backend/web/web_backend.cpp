#include "platform/backend/web/web_backend.h"

#include <dirent.h>
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/clock/clock.h"
#include "platform/gdi/gdi.h"
#include "platform/user/accelerators.h"
#include "platform/user/internal/screen.h"
#include "platform/user/window_api.h"

// The page's side. Input is queued by the browser's event handlers as [kind, a, b] and wakes a
// waiting program; the program takes it when it runs again. Kinds: 1 stylus down (x, y), 2 up,
// 3 the down of a double tap, 4 key (virtual-key code, modifiers), 5 character (code point).

// clang-format off
EM_JS(void, velquin_web_open, (), {
    const canvas = Module.canvas || document.getElementById('screen');
    const w = Module.velquinWeb = {
        events: [], received: 0, taken: 0, wake: null, waiting: false, presented: 0, canvas: canvas,
        ctx: canvas.getContext('2d', {alpha: false}), lastDown: null
    };
    canvas.width = 240;
    canvas.height = 320;
    w.image = w.ctx.createImageData(240, 320);
    canvas.style.imageRendering = 'pixelated';
    canvas.style.touchAction = 'none';
    // The largest whole number of device pixels per handheld pixel that fits the page.
    const fit = () => {
        const dpr = window.devicePixelRatio || 1;
        const scale = Math.max(1, Math.floor(Math.min(window.innerWidth * dpr / 240,
                                                      window.innerHeight * dpr / 320)));
        canvas.style.width = (240 * scale / dpr) + 'px';
        canvas.style.height = (320 * scale / dpr) + 'px';
        w.scale = scale;
    };
    fit();
    window.addEventListener('resize', fit);
    const push = (event) => {
        w.events.push(event);
        w.received++;
        if (w.wake) w.wake();
    };
    const point = (e) => {
        const r = canvas.getBoundingClientRect();
        const x = Math.floor((e.clientX - r.left) * 240 / r.width);
        const y = Math.floor((e.clientY - r.top) * 320 / r.height);
        return [Math.min(239, Math.max(0, x)), Math.min(319, Math.max(0, y))];
    };
    // A double tap: a second down within half a second and a few pixels of a first one.
    canvas.addEventListener('pointerdown', (e) => {
        if (!e.isPrimary || e.button !== 0) return;
        e.preventDefault();
        canvas.focus();
        try { canvas.setPointerCapture(e.pointerId); } catch (err) {}
        const [x, y] = point(e);
        const last = w.lastDown;
        const double = last !== null && !last.double && e.timeStamp - last.t <= 500 &&
                       Math.abs(x - last.x) <= 6 && Math.abs(y - last.y) <= 6;
        w.lastDown = {t: e.timeStamp, x: x, y: y, double: double};
        w.down = true;
        push([double ? 3 : 1, x, y]);
    });
    const up = (e) => {
        if (!e.isPrimary || !w.down) return;
        e.preventDefault();
        w.down = false;
        const [x, y] = e.type === 'pointercancel' ? [w.lastDown.x, w.lastDown.y] : point(e);
        push([2, x, y]);
    };
    canvas.addEventListener('pointerup', up);
    canvas.addEventListener('pointercancel', up);
    canvas.addEventListener('contextmenu', (e) => e.preventDefault());
    // The desktop's keys, as its window maps them: the virtual key of a key event, 0 for none.
    // The named keys come from the program (velquin_web_key).
    w.keys = new Map();
    const virtualKey = (e) => {
        if (w.keys.has(e.key)) return w.keys.get(e.key);
        if (/^[a-zA-Z0-9]$/.test(e.key)) return e.key.toUpperCase().charCodeAt(0);
        // A letter, digit or comma that a modifier turned into another character (a shifted
        // digit, Alt on a Mac): the key itself, as the desktop sees it.
        const k = /^(?:Key([A-Z])|Digit([0-9]))$/.exec(e.code);
        if (k) return (k[1] || k[2]).charCodeAt(0);
        return e.code === 'Comma' ? w.keys.get(',') : 0;
    };
    // Keys the program keeps from the browser without an accelerator: the handheld's buttons
    // and what an edit box does with them.
    w.handheld = new Set();
    w.accelerators = new Set();
    window.addEventListener('keydown', (e) => {
        if (e.metaKey || e.isComposing) return;  // the system's and the input method's keys
        // AltGr, which some systems report as Ctrl and Alt, types: it is no modifier here.
        const altGr = e.getModifierState && e.getModifierState('AltGraph');
        const ctrl = e.ctrlKey && !altGr, alt = e.altKey && !altGr;
        const mods = (e.shiftKey ? 1 : 0) | (ctrl ? 2 : 0) | (alt ? 4 : 0);
        const key = virtualKey(e);
        const code = e.key.codePointAt(0);
        const typed = !ctrl && !alt && code >= 0x20 &&
                      e.key.length === String.fromCodePoint(code).length;
        const plain = !ctrl && !alt;
        // The program's keys are its accelerators, what types, and the handheld's keys; every
        // other key does what the browser does with it (Tab, F5, Ctrl+W, Ctrl+Shift+I...).
        if (w.accelerators.has(key * 8 + mods) || typed || (plain && w.handheld.has(key)))
            e.preventDefault();
        // A held function key or Alt combination acts once, as on the desktop.
        if (e.repeat && (/^F([1-9]|1[0-2])$/.test(e.key) || alt)) return;
        if (key) push([4, key, mods]);
        // Backspace also types, with any modifier, as on the desktop: an edit box deletes with it.
        if (e.key === 'Backspace') push([5, 8, 0]);
        else if (typed) push([5, code, 0]);
    });
});

EM_JS(void, velquin_web_key, (const char* name, int key, int handheld), {
    const w = Module.velquinWeb;
    w.keys.set(UTF8ToString(name), key);
    if (handheld) w.handheld.add(key);
});

EM_JS(void, velquin_web_accelerator, (int key, int modifiers), {
    Module.velquinWeb.accelerators.add(key * 8 + modifiers);
});

// The whole page on the whole screen, where the canvas keeps its whole-number scale. The browser
// grants it only soon after a key or a tap; false when it does not.
EM_ASYNC_JS(int, velquin_web_set_full_screen, (int on), {
    try {
        if (on && !document.fullscreenElement)
            await document.documentElement.requestFullscreen({navigationUI: 'hide'});
        else if (!on && document.fullscreenElement)
            await document.exitFullscreen();
        return 1;
    } catch (err) {
        return 0;
    }
});

EM_JS(int, velquin_web_full_screen, (), { return document.fullscreenElement ? 1 : 0; });

EM_JS(void, velquin_web_present, (const void* rgba), {
    const w = Module.velquinWeb;
    w.image.data.set(HEAPU8.subarray(rgba, rgba + 240 * 320 * 4));
    w.ctx.putImageData(w.image, 0, 0);
    w.presented++;
});

EM_ASYNC_JS(void, velquin_web_wait, (int timeoutMs), {
    const w = Module.velquinWeb;
    if (w.events.length) return;
    w.waiting = true;
    await new Promise((resolve) => {
        let timer = 0;
        w.wake = () => {
            if (timer) clearTimeout(timer);
            w.wake = null;
            resolve();
        };
        if (timeoutMs >= 0) timer = setTimeout(w.wake, timeoutMs);
    });
    w.waiting = false;
});

EM_JS(int, velquin_web_pending, (), { return Module.velquinWeb.events.length; });

EM_JS(int, velquin_web_next, (int* out), {
    const w = Module.velquinWeb;
    const e = w.events.shift();
    if (!e) return 0;
    w.taken++;
    HEAP32[out >> 2] = e[0];
    HEAP32[(out >> 2) + 1] = e[1];
    HEAP32[(out >> 2) + 2] = e[2];
    return 1;
});

EM_ASYNC_JS(int, velquin_web_mount, (const char* folder), {
    const path = UTF8ToString(folder);
    const s = Module.velquinStore = {path: path, started: 0, done: 0, failed: 0, busy: false,
                                     again: false};
    try { FS.mkdirTree(path); } catch (err) {}
    if (typeof indexedDB === 'undefined') return 0;
    try { FS.mount(IDBFS, {}, path); } catch (err) { return 0; }
    const ok = await new Promise((resolve) => FS.syncfs(true, (err) => resolve(!err)));
    if (!ok) s.failed++;
    return ok ? 1 : 0;
});

EM_JS(void, velquin_web_sync, (), {
    const s = Module.velquinStore;
    if (!s) return;
    s.started++;
    const run = () => {
        s.busy = true;
        FS.syncfs(false, (err) => {
            s.busy = false;
            if (err) { s.failed++; console.warn('velquin: the saved games could not be written', err); }
            if (s.again) { s.again = false; run(); } else { s.done = s.started; }
        });
    };
    if (s.busy) s.again = true; else run();
});

EM_ASYNC_JS(int, velquin_web_lock, (const char* name, const char* busy), {
    if (!navigator.locks) return 0;
    const lockName = UTF8ToString(name);
    const busyText = UTF8ToString(busy);
    const forever = () => new Promise(() => {});  // held until the page goes
    await new Promise((granted) => {
        navigator.locks.request(lockName, {ifAvailable: true}, (lock) => {
            if (lock) { granted(); return forever(); }
            if (Module.showMessage) Module.showMessage(busyText);
            navigator.locks.request(lockName, () => {
                if (Module.showMessage) Module.showMessage("");
                granted();
                return forever();
            });
            return null;
        });
    });
    return 1;
});

EM_JS(void, velquin_web_status, (const char* text), {
    if (Module.showMessage) Module.showMessage(UTF8ToString(text));
});
// clang-format on

namespace backend {

namespace {

std::string keptFolder;

// The browser's names of the keys the desktop maps (its window's keys, as the desktop backend
// maps SDL's). `handheld`: a key of the handheld, or one an edit box takes, which the page keeps
// from the browser even when no accelerator asks for it.
struct BrowserKey {
    const char* name;
    UINT key;
    bool handheld;
};
constexpr BrowserKey kBrowserKeys[] = {
    {"ArrowLeft", VK_LEFT, true}, {"ArrowUp", VK_UP, true},    {"ArrowRight", VK_RIGHT, true},
    {"ArrowDown", VK_DOWN, true}, {"Enter", VK_RETURN, true},  {"Escape", VK_ESCAPE, true},
    {"Backspace", VK_BACK, true}, {"Delete", VK_DELETE, true}, {"Home", VK_HOME, true},
    {"End", VK_END, true},        {"PageUp", VK_PRIOR, true},  {"PageDown", VK_NEXT, true},
    {"Tab", VK_TAB, false},       {" ", VK_SPACE, false},      {",", VK_OEM_COMMA, false},
};

// What the kept folder holds, file by file: a save replaces its file, which changes this.
std::string FolderFingerprint(const std::string& folder) {
    std::string print;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return print;
    while (const dirent* entry = readdir(dir)) {
        struct stat st;
        std::string path = folder + "/" + entry->d_name;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        print += path + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
                 std::to_string(st.st_mtime) + "\n";
    }
    closedir(dir);
    return print;
}

}  // namespace

std::unique_ptr<WebBackend> WebBackend::Open() {
    std::unique_ptr<WebBackend> b(new WebBackend);
    b->rgba_.reset(new std::uint32_t[user::kScreenPixelsWide * user::kScreenPixelsHigh]);
    velquin_web_open();
    for (const BrowserKey& k : kBrowserKeys) velquin_web_key(k.name, k.key, k.handheld);
    for (UINT f = 1; f <= 12; ++f)
        velquin_web_key(("F" + std::to_string(f)).c_str(), VK_F1 + f - 1, false);
    for (const ACCEL& a : RegisteredAccelerators())
        velquin_web_accelerator(a.key, ((a.fVirt & FSHIFT) ? user::ModShift : 0) |
                                           ((a.fVirt & FCONTROL) ? user::ModControl : 0) |
                                           ((a.fVirt & FALT) ? user::ModAlt : 0));
    SetTickSource(nullptr);  // the milliseconds of a steady clock
    user::SetBackend(b.get());
    if (!keptFolder.empty()) b->synced_ = FolderFingerprint(keptFolder);
    b->Present();
    return b;
}

WebBackend::~WebBackend() {
    SyncFolder();
    if (user::GetBackend() == this) user::SetBackend(nullptr);
}

bool WebBackend::KeepFolder(const std::string& folder) {
    keptFolder = folder;
    return velquin_web_mount(folder.c_str()) != 0;
}

bool WebBackend::HoldLock(const std::string& name, const std::string& busyText) {
    return velquin_web_lock(name.c_str(), busyText.c_str()) != 0;
}

void WebBackend::ShowStatus(const std::string& text) {
    velquin_web_status(text.c_str());
}

bool WebBackend::SetFullScreen(bool on) {
    if (!velquin_web_set_full_screen(on ? 1 : 0)) return false;
    Present();
    return true;
}

bool WebBackend::FullScreen() const {
    return velquin_web_full_screen() != 0;
}

void WebBackend::Present() {
    if (shown_ == user::ScreenGeneration()) return;
    shown_ = user::ScreenGeneration();
    const std::uint32_t* screen = user::ScreenPixels();
    const int count = user::kScreenPixelsWide * user::kScreenPixelsHigh;
    // The canvas takes R, G, B, A bytes: on this little-endian machine the word of an opaque
    // COLORREF.
    for (int i = 0; i < count; ++i) rgba_[i] = 0xFF000000u | gdi::ToColorRef(screen[i]);
    velquin_web_present(rgba_.get());
}

void WebBackend::SyncFolder() {
    if (keptFolder.empty()) return;
    std::string now = FolderFingerprint(keptFolder);
    if (now == synced_) return;
    synced_ = std::move(now);
    velquin_web_sync();
}

void WebBackend::Deliver() {
    int e[3];
    while (velquin_web_next(e)) {
        POINT p{e[1], e[2]};
        switch (e[0]) {
            case 1:
                user::InputPointerDown(p);
                break;
            case 2:
                user::InputPointerUp(p);
                break;
            case 3:
                user::InputDoubleDown(p);
                break;
            case 4:
                user::InputKey(static_cast<UINT>(e[1]), static_cast<unsigned>(e[2]));
                break;
            case 5:
                if (e[1] <= 0xFFFF) user::InputChar(static_cast<wchar_t>(e[1]));
                break;
            default:
                break;
        }
    }
}

user::WaitResult WebBackend::WaitForInput(DWORD timeoutMs) {
    Present();
    SyncFolder();
    int timeout =
        timeoutMs == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeoutMs, 0x7FFFFFFF));
    velquin_web_wait(timeout);
    if (!velquin_web_pending()) return user::WaitResult::Timeout;
    Deliver();
    return user::WaitResult::Input;
}

}  // namespace backend
