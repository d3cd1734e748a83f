#include "sim/host/window.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "base/utf8.h"
#include "display/fonts.h"
#include "gfx/font.h"
#include "kernel/app.h"
#include "sim/controller/controller.h"
#include "sim/hal/debug.h"
#include "sim/hal/host_services.h"
#include "sim/hal/instance.h"
#include "sim/hal/keys.h"
#include "sim/hal/serial_port.h"
#include "sim/hal/ticks.h"
#include "sim/host/device.h"
#include "sim/host/lcd_view.h"
#include "startup/startup.h"

namespace {

constexpr int paneWidth = 440;
constexpr uint32_t background = 0x3A3E42;
constexpr uint32_t paneColour = 0x16181A;
constexpr uint32_t paneText = 0xC8D0C8;
constexpr uint32_t paneDim = 0x7C847C;
constexpr uint32_t buttonColour = 0x3C4A58;
constexpr size_t logLines = 400;

struct Button {
    SDL_Rect rect;
    std::string label;
    enum class Action {
        Suspend,
        Continue,
        Quit,
        Controller,
        Fault,
        Maintenance,
        Lockout,
        Commissioning,
        Wink,
        Reset,
        Silent,
        Clear
    } action;
};

// The faults the window's fault button raises, one after the other: the boiler sensor, the
// outside sensor, the storage sensor, the communication, the temperature limiter.
constexpr uint8_t INJECTED_FAULTS[] = {0x30, 0x18, 0x50, 0xB8, 0xE8};

// The debug output as lines for the log pane; written by every thread of the panel.
class LogBuffer {
  public:
    void append(const char* text, size_t length)
    {
        std::lock_guard guard(lock_);
        for (size_t i = 0; i < length; ++i) {
            if (text[i] == '\n') {
                push();
            } else if (text[i] != '\r') {
                partial_ += text[i];
            }
        }
        dirty_ = true;
    }
    std::vector<std::string> last(size_t n, bool& wasDirty)
    {
        std::lock_guard guard(lock_);
        wasDirty = dirty_;
        dirty_ = false;
        std::vector<std::string> out;
        const size_t total = lines_.size() + 1;
        for (size_t i = total > n ? total - n : 0; i < lines_.size(); ++i)
            out.push_back(lines_[i]);
        out.push_back(partial_);
        return out;
    }
    bool dirty()
    {
        std::lock_guard guard(lock_);
        return dirty_;
    }

  private:
    void push()
    {
        lines_.push_back(partial_);
        partial_.clear();
        if (lines_.size() > logLines) lines_.pop_front();
    }
    std::mutex lock_;
    std::deque<std::string> lines_;
    std::string partial_;
    bool dirty_ = true;
};

// ARGB pixels drawn with the panel's own fonts.
struct Surface {
    int width, height;
    std::vector<uint32_t> pixels;
    Surface(int w, int h, uint32_t fill) : width(w), height(h), pixels(size_t(w) * h, fill) {}

    void fillRect(SDL_Rect r, uint32_t colour)
    {
        for (int y = std::max(0, r.y); y < std::min(height, r.y + r.h); ++y)
            for (int x = std::max(0, r.x); x < std::min(width, r.x + r.w); ++x)
                pixels[size_t(y) * width + x] = 0xFF000000 | colour;
    }

    // Returns the x after the text; stops at maxX.
    int text(const GFX_Font& font, const std::string& s, int x, int y, uint32_t colour, int maxX)
    {
        int32_t i = 0;
        while (uint16_t c = GFX_DecodeUtf8(s.c_str(), int32_t(s.size()), i)) {
            const GFX_Glyph* g = GFX_FindGlyph(font, c);
            if (!g) continue;
            if (x + g->advance > maxX) break;
            for (int row = 0; row < font.height && y + row < height; ++row)
                for (int col = 0; col < g->width; ++col)
                    if (y + row >= 0 && x + col >= 0 && x + col < width &&
                        (g->bitmap[row * g->bytesPerRow + col / 8] & (0x80 >> (col % 8))))
                        pixels[size_t(y + row) * width + x + col] = 0xFF000000 | colour;
            x += g->advance;
        }
        return x;
    }
};

class Window;
Window* current = nullptr;

class Window {
  public:
    explicit Window(const WindowOptions& options) : options_(options) {}

    int run();

    void hostError(const std::string& text)
    {
        if (FILE* f = fopen("SimError.log", "a")) {
            fprintf(f, "\n%s", text.c_str());
            fclose(f);
        }
        const std::string line = "\n" + text;
        log_.append(line.c_str(), line.size());
        fprintf(stderr, "panelsim: %s\n", text.c_str());
        if (options_.dialogs)
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "panelsim", text.c_str(), window_);
    }

    void debug(const char* text, size_t length)
    {
        fwrite(text, 1, length, stdout);
        fflush(stdout);
        log_.append(text, length);
        wake();
    }

    void message(const char* text, const char* caption)
    {
        const std::string line = std::string("\n[") + caption + "] " + text;
        log_.append(line.c_str(), line.size());
        fprintf(stderr, "panelsim: %s: %s\n", caption, text);
        if (options_.dialogs)
            SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, window_);
    }

    // Any thread: the window should look at the display or the log again.
    void wake()
    {
        if (wakePending_.exchange(true)) return;
        SDL_Event e{};
        e.type = wakeEvent_;
        SDL_PushEvent(&e);
    }

  private:
    bool open();
    void close();
    void startApplication();
    void stopApplication();
    void handle(const SDL_Event& e);
    void composeDevice(const SDL_Rect& area);
    void composeLcd();
    void composePane();
    void present();
    void update(bool all);
    void hostLog(const char* text) { debug(text, strlen(text)); }
    void suspend();
    void resume();
    void controller(bool on);
    void inject(Button::Action action);
    void saveControllerState();
    void layoutButtons();
    SDL_Rect keyRect(int hardkey) const;
    void pressHardkey(int hardkey);
    void releaseHardkey();
    void keyboard(const SDL_KeyboardEvent& k, bool down);
    void screenshot(const std::string& path);
    int hardkeyAt(int x, int y) const;

    WindowOptions options_;
    DevicePicture picture_;
    LcdView view_;
    LogBuffer log_;
    SIM_RealTimeTicks ticks_;
    std::thread app_;
    std::atomic<bool> appRunning_{false};
    std::atomic<bool> appEnded_{false};
    std::atomic<bool> wakePending_{false};
    Uint32 wakeEvent_ = 0;
    SDL_Window* window_ = nullptr;
    // The whole window as shown, composed here and copied to the window only where it changed.
    std::vector<uint32_t> frame_;
    SDL_Surface* frameSurface_ = nullptr;
    std::vector<SDL_Rect> changed_;
    Uint64 lastPane_ = 0;
    int width_ = 0, height_ = 0;
    uint64_t shownGeneration_ = UINT64_MAX;
    int pressed_ = -1;
    uint32_t keysHeld_ = 0;
    std::vector<Button> buttons_;
    bool quit_ = false;
    size_t nextFault_ = 0;
    bool stateError_ = false; // a failed state-file write is told once
    Uint64 lastSave_ = 0;
};

bool Window::open()
{
    const char* driver = getenv("SDL_VIDEODRIVER");
    const bool driverChosen = driver && *driver;
    if (!driverChosen && !getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY")) {
        fprintf(stderr, "panelsim: no display found (DISPLAY is not set); run it on a desktop, "
                        "under xvfb-run, or use --headless\n");
        return false;
    }
    // The window is drawn by the program into the window surface; the system's own pixel
    // transfer (shared memory on X11) does that best, without a 3D driver behind it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        fprintf(stderr, "panelsim: cannot open the display: %s\n", SDL_GetError());
        return false;
    }
    const char* used = SDL_GetCurrentVideoDriver();
    if (!driverChosen && used && (!strcmp(used, "offscreen") || !strcmp(used, "dummy"))) {
        fprintf(stderr,
                "panelsim: no display found (no X server answers on %s); run it on a "
                "desktop, under xvfb-run, or use --headless\n",
                getenv("DISPLAY") ? getenv("DISPLAY") : "DISPLAY");
        SDL_Quit();
        return false;
    }
    wakeEvent_ = SDL_RegisterEvents(1);
    picture_ = DEVICE_Load([](const std::string& text) { current->hostError(text); });
    width_ = picture_.front.width + paneWidth;
    height_ = std::max(picture_.front.height, 480);
    window_ = SDL_CreateWindow("panelsim", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width_,
                               height_, 0);
    if (!window_) {
        fprintf(stderr, "panelsim: cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    frame_.assign(size_t(width_) * height_, 0xFF000000 | background);
    frameSurface_ = SDL_CreateRGBSurfaceWithFormatFrom(frame_.data(), width_, height_, 32,
                                                       width_ * 4, SDL_PIXELFORMAT_ARGB8888);
    layoutButtons();
    composeDevice({0, 0, picture_.front.width, picture_.front.height});
    return frameSurface_ != nullptr;
}

// The application control, then the controller emulator: its switch, and the events it can
// raise while it is on.
void Window::layoutButtons()
{
    const int bx = picture_.front.width + 12, by = 40;
    const bool on = CTL_IsOn();
    buttons_ = {{{bx, by, 128, 28}, "Suspend (F5)", Button::Action::Suspend},
                {{bx + 138, by, 138, 28}, "Continue (F6)", Button::Action::Continue},
                {{bx + 286, by, 138, 28}, "Quit (Ctrl+Q)", Button::Action::Quit},
                {{bx, by + 34, 200, 24},
                 on ? "Controller: on (F7 turns off)" : "Controller: off (F7 turns on)",
                 Button::Action::Controller}};
    if (!on) return;
    char fault[32];
    snprintf(fault, sizeof fault, "Fault %02X", INJECTED_FAULTS[nextFault_]);
    const struct {
        std::string label;
        Button::Action action;
    } injections[] = {{fault, Button::Action::Fault},
                      {"Maintenance", Button::Action::Maintenance},
                      {"Lock-out", Button::Action::Lockout},
                      {"Commissioning", Button::Action::Commissioning},
                      {"Wink", Button::Action::Wink},
                      {"Panel reset", Button::Action::Reset},
                      {CTL_IsSilent() ? "Silent now" : "Silent", Button::Action::Silent},
                      {"Clear events", Button::Action::Clear}};
    for (size_t i = 0; i < std::size(injections); ++i) {
        const int x = bx + static_cast<int>(i % 4) * 106,
                  y = by + 62 + static_cast<int>(i / 4) * 28;
        buttons_.push_back({{x, y, 100, 24}, injections[i].label, injections[i].action});
    }
}

void Window::controller(bool on)
{
    if (on && !CTL_Exists()) {
        const SIM_HostTime t = SIM_GetHostTime();
        const std::string path =
            options_.stateFile.empty() ? CTL_DefaultStatePath() : options_.stateFile;
        CTL_Create({t.utcSeconds - 60 * int64_t{t.minutesWest} + (t.daylightSaving ? 3600 : 0),
                    path, options_.fresh},
                   [](const std::string& line) {
                       const std::string text = "\n" + line;
                       current->debug(text.c_str(), text.size());
                   });
        hostLog(("\nController emulator, state file " + path +
                 (options_.fresh ? " (started from the built-in values)" : ""))
                    .c_str());
    }
    CTL_SetOn(on);
    hostLog(on ? "\nController on: the emulator plays the boiler controller on the bus"
               : "\nController off: the bus is inert");
    layoutButtons();
    composePane();
    present();
}

void Window::inject(Button::Action action)
{
    if (!CTL_IsOn()) return;
    switch (action) {
    case Button::Action::Fault:
        CTL_InjectFault(INJECTED_FAULTS[nextFault_]);
        nextFault_ = (nextFault_ + 1) % std::size(INJECTED_FAULTS);
        break;
    case Button::Action::Maintenance: CTL_InjectMaintenance(); break;
    case Button::Action::Lockout: CTL_InjectLockout(); break;
    case Button::Action::Commissioning: CTL_InjectCommissioning(); break;
    case Button::Action::Wink: CTL_InjectWink(); break;
    case Button::Action::Reset: CTL_InjectPanelReset(); break;
    case Button::Action::Silent: CTL_InjectSilence(); break;
    case Button::Action::Clear: CTL_ClearEvents(); break;
    default: return;
    }
    layoutButtons();
    composePane();
    present();
}

// The emulator's state goes to its file a second after it changed, and at the end.
void Window::saveControllerState()
{
    std::string error;
    if (CTL_SaveState(&error) || stateError_) return;
    stateError_ = true;
    hostError("The controller emulator cannot keep its state: " + error);
}

void Window::close()
{
    if (frameSurface_) SDL_FreeSurface(frameSurface_);
    if (window_) SDL_DestroyWindow(window_);
    SDL_Quit();
}

void Window::startApplication()
{
    SIM_SetTickSource(&ticks_);
    SIM_SetHardkeyCount(static_cast<int>(picture_.hardkeys.size()));
    SIM_SetSerialDevice(0, options_.uart0.c_str());
    view_.attach();
    view_.setListener([] { current->wake(); });
    hostLog("Application started");
    appRunning_ = true;
    app_ = std::thread([this] {
        try {
            MainTask();
        } catch (const SIM_Shutdown&) {
            appEnded_ = true; // the window ends the panel: nothing more to say
            return;
        }
        hostLog("\nApplication terminated.");
        appRunning_ = false;
        appEnded_ = true;
        wake();
    });
}

void Window::stopApplication()
{
    ticks_.resume();
    ticks_.shutdown(0);
    if (app_.joinable()) app_.join();
    appRunning_ = false;
    ticks_.stop();
    Win32_Uart_Close(0);
    view_.setListener(nullptr);
    LcdView::detach();
    SIM_SetTickSource(nullptr);
}

void Window::suspend()
{
    if (!appRunning_) {
        hostLog("Application is not running...");
    } else if (ticks_.suspend()) {
        hostLog("\nApplication suspended");
    } else {
        hostLog("Application paused already ...");
    }
}

void Window::resume()
{
    if (!appRunning_) {
        hostLog("Application is not running...");
    } else if (ticks_.resume()) {
        hostLog("\nApplication continued");
    } else {
        hostLog("Application is not stopped...");
    }
}

int Window::hardkeyAt(int x, int y) const
{
    for (size_t i = 0; i < picture_.hardkeys.size(); ++i)
        if (picture_.hardkeys[i].contains(x, y)) return static_cast<int>(i);
    return -1;
}

SDL_Rect Window::keyRect(int hardkey) const
{
    const HardkeyRegion& k = picture_.hardkeys[hardkey];
    return {k.x0, k.y0, k.x1 - k.x0 + 1, k.y1 - k.y0 + 1};
}

void Window::pressHardkey(int hardkey)
{
    releaseHardkey();
    if (hardkey < 0) return;
    pressed_ = hardkey;
    SIM_HardkeyEvent(hardkey, true);
    composeDevice(keyRect(hardkey));
    present();
}

void Window::releaseHardkey()
{
    if (pressed_ < 0) return;
    SIM_HardkeyEvent(pressed_, false);
    const SDL_Rect r = keyRect(pressed_);
    pressed_ = -1;
    composeDevice(r);
    present();
}

// The device has no keyboard; these shortcuts are the host's own convenience. Holding two keys
// forms the combinations (three or more are ignored by the key scan, as on the device).
void Window::keyboard(const SDL_KeyboardEvent& k, bool down)
{
    if (k.repeat) return;
    uint32_t pattern = 0;
    switch (k.keysym.sym) {
    case SDLK_UP: pattern = KEY_PATTERN_UP; break;
    case SDLK_DOWN: pattern = KEY_PATTERN_DOWN; break;
    case SDLK_LEFT: pattern = KEY_PATTERN_LEFT; break;
    case SDLK_RIGHT: pattern = KEY_PATTERN_RIGHT; break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: pattern = KEY_PATTERN_OK; break;
    case SDLK_BACKSPACE:
    case SDLK_ESCAPE: pattern = KEY_PATTERN_BACK; break;
    case SDLK_m: pattern = KEY_PATTERN_MENU; break;
    case SDLK_h:
    case SDLK_F1: pattern = KEY_PATTERN_HELP; break;
    case SDLK_F5:
        if (down) suspend();
        return;
    case SDLK_F6:
        if (down) resume();
        return;
    case SDLK_F7:
        if (down) controller(!CTL_IsOn());
        return;
    case SDLK_q:
        if (down && (k.keysym.mod & KMOD_CTRL)) quit_ = true;
        return;
    default: return;
    }
    keysHeld_ = down ? keysHeld_ | pattern : keysHeld_ & ~pattern;
    KEY_SetPattern(keysHeld_);
}

void Window::handle(const SDL_Event& e)
{
    if (e.type == wakeEvent_) {
        wakePending_ = false;
        return;
    }
    switch (e.type) {
    case SDL_QUIT: quit_ = true; break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT) break;
        // The controller's buttons change the buttons: act on a copy of the one clicked.
        for (size_t i = 0; i < buttons_.size(); ++i) {
            const SDL_Point p{e.button.x, e.button.y};
            if (!SDL_PointInRect(&p, &buttons_[i].rect)) continue;
            const Button::Action action = buttons_[i].action;
            if (action == Button::Action::Suspend)
                suspend();
            else if (action == Button::Action::Continue)
                resume();
            else if (action == Button::Action::Quit)
                quit_ = true;
            else if (action == Button::Action::Controller)
                controller(!CTL_IsOn());
            else
                inject(action);
            break;
        }
        pressHardkey(hardkeyAt(e.button.x, e.button.y));
        break;
    case SDL_MOUSEMOTION:
        // Dragging off a key releases it.
        if (pressed_ >= 0 && !picture_.hardkeys[pressed_].contains(e.motion.x, e.motion.y))
            releaseHardkey();
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT) releaseHardkey();
        break;
    case SDL_KEYDOWN: keyboard(e.key, true); break;
    case SDL_KEYUP: keyboard(e.key, false); break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) changed_.push_back({0, 0, width_, height_});
        break;
    default: break;
    }
}

// The device front with the transparent colour cut away to the window's background, and the
// pressed hardkey tinted.
void Window::composeDevice(const SDL_Rect& area)
{
    const SDL_Rect key = pressed_ >= 0 ? keyRect(pressed_) : SDL_Rect{0, 0, 0, 0};
    for (int y = area.y; y < area.y + area.h && y < picture_.front.height; ++y)
        for (int x = area.x; x < area.x + area.w && x < picture_.front.width; ++x) {
            uint32_t c = picture_.front.at(x, y);
            if (c == DEVICE_TRANSPARENT) c = background;
            const SDL_Point p{x, y};
            if (SDL_PointInRect(&p, &key)) {
                const auto mix = [&](int shift, int tint) {
                    return uint32_t(((int(c >> shift & 0xFF) * 5 + tint * 3) / 8) & 0xFF) << shift;
                };
                c = mix(16, 40) | mix(8, 90) | mix(0, 170);
            }
            frame_[size_t(y) * width_ + x] = 0xFF000000 | c;
        }
    changed_.push_back(area);
}

// The visible panel, each display pixel magnified to a crisp square.
void Window::composeLcd()
{
    const LcdView::Snapshot snap = view_.snapshot();
    shownGeneration_ = snap.generation;
    const uint32_t set = 0xFF000000 | SIM_LcdSetColour(snap.contrast, snap.lightMode);
    const int scale = picture_.lcdScale;
    for (int y = 0; y < SIM_LCD_HEIGHT * scale; ++y) {
        uint32_t* row = &frame_[size_t(picture_.lcdY + y) * width_ + picture_.lcdX];
        const uint8_t* source = &snap.pixels[size_t(y / scale) * SIM_LCD_WIDTH];
        for (int x = 0; x < SIM_LCD_WIDTH * scale; ++x)
            row[x] = source[x / scale] ? set : 0xFF000000;
    }
    changed_.push_back(
        {picture_.lcdX, picture_.lcdY, SIM_LCD_WIDTH * scale, SIM_LCD_HEIGHT * scale});
}

void Window::composePane()
{
    const GFX_Font& font = FNT_GetNormal();
    const GFX_Font& small = FNT_GetSmall();
    Surface s(paneWidth, height_, 0xFF000000 | paneColour);
    const int x0 = 12, maxX = paneWidth - 6;
    s.text(font, "panelsim", x0, 8, paneText, maxX);
    s.text(small, "device picture: " + picture_.source, x0 + 96, 15, paneDim, maxX);
    for (const Button& b : buttons_) {
        SDL_Rect r = b.rect;
        r.x -= picture_.front.width;
        s.fillRect(r, buttonColour);
        s.text(small, b.label, r.x + 8, r.y + r.h / 2 - 4, paneText, r.x + r.w);
    }
    const char* help[] = {
        "Mouse: click the keys of the device picture.",
        "Keyboard: arrows, Enter = OK, Backspace or Esc = Back,",
        "M = Menu, H or F1 = Help; hold two keys together for",
        "the combinations (OK+Up, OK+Down, M+OK, M+Down, OK+Back).",
    };
    int y = CTL_IsOn() ? 164 : 108;
    for (const char* line : help) {
        s.text(small, line, x0, y, paneDim, maxX);
        y += 11;
    }
    s.fillRect({x0, y + 4, paneWidth - 2 * x0, 1}, paneDim);
    const int top = y + 12;
    const int lineHeight = font.lineDistance;
    const size_t visible = static_cast<size_t>((height_ - top - 4) / lineHeight);
    bool wasDirty = false;
    const std::vector<std::string> lines = log_.last(visible, wasDirty);
    y = top + int(visible - std::min(visible, lines.size())) * lineHeight;
    for (const std::string& line : lines) {
        s.text(font, line, x0, y, paneText, maxX);
        y += lineHeight;
    }
    const int left = picture_.front.width;
    for (int row = 0; row < height_; ++row)
        memcpy(&frame_[size_t(row) * width_ + left], &s.pixels[size_t(row) * paneWidth],
               paneWidth * 4);
    changed_.push_back({left, 0, paneWidth, height_});
}

// Copies the changed parts of the frame to the window.
void Window::present()
{
    if (changed_.empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target) return;
    for (SDL_Rect r : changed_)
        SDL_BlitSurface(frameSurface_, &r, target, &r);
    SDL_UpdateWindowSurfaceRects(window_, changed_.data(), int(changed_.size()));
    changed_.clear();
}

// Repaints what changed: the display after a refresh, the log pane at most ten times a second.
void Window::update(bool all)
{
    if (all || view_.generation() != shownGeneration_) composeLcd();
    const Uint64 now = SDL_GetTicks64();
    if (all || (log_.dirty() && now - lastPane_ >= 100)) {
        composePane();
        lastPane_ = now;
    }
    present();
}

void Window::screenshot(const std::string& path)
{
    update(true);
    std::vector<uint8_t> rgb(size_t(width_) * height_ * 3);
    for (size_t i = 0; i < frame_.size(); ++i) {
        rgb[3 * i] = uint8_t(frame_[i] >> 16);
        rgb[3 * i + 1] = uint8_t(frame_[i] >> 8);
        rgb[3 * i + 2] = uint8_t(frame_[i]);
    }
    std::string error;
    if (!PNG_WriteRgb(path, rgb.data(), width_, height_, &error)) hostError(error);
}

int Window::run()
{
    current = this;
    SIM_SetDebugSink([](const char* text, size_t length) { current->debug(text, length); });
    if (!open()) {
        SIM_SetDebugSink(nullptr);
        return 1;
    }
    SIM_SetMessageBox(
        [](const char* text, const char* caption) { current->message(text, caption); });
    // The host's own mutex, apart from the panel's single-instance guard.
    SIM_AcquireInstanceLock("GUI Simulation - Mutex");
    startApplication();
    if (options_.controller) controller(true);

    const Uint64 start = SDL_GetTicks64();
    size_t clicked = 0;
    Uint64 nextClick = start + 1000;
    update(true);
    while (!quit_) {
        SDL_Event e;
        // Wakes for input, for a refresh of the panel and for new log lines; otherwise sleeps.
        if (SDL_WaitEventTimeout(&e, log_.dirty() ? 100 : 500)) {
            handle(e);
            while (SDL_PollEvent(&e))
                handle(e);
        }
        const Uint64 now = SDL_GetTicks64();
        if (clicked < options_.clickHardkeys.size() && now >= nextClick) {
            pressHardkey(options_.clickHardkeys[clicked++]);
            SDL_Delay(150);
            releaseHardkey();
            nextClick = now + 1000;
        }
        if (options_.quitAfterMs >= 0 && now - start >= Uint64(options_.quitAfterMs)) {
            if (!options_.screenshot.empty()) screenshot(options_.screenshot);
            quit_ = true;
        }
        // A second instance has told the user and ended; so does the window.
        if (appEnded_ && !appRunning_) quit_ = true;
        if (now - lastSave_ >= 1000) {
            saveControllerState();
            lastSave_ = now;
        }
        update(false);
    }
    const bool refused = appEnded_ && !appRunning_;
    stopApplication();
    saveControllerState();
    CTL_Destroy();
    SIM_ReleaseInstanceLock("GUI Simulation - Mutex");
    close();
    SIM_SetMessageBox(nullptr);
    SIM_SetDebugSink(nullptr);
    current = nullptr;
    return refused ? 1 : 0;
}

} // namespace

int WINDOW_Run(const WindowOptions& options)
{
    Window window(options);
    return window.run();
}
