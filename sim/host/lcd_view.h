// The host's copy of the visible panel: what the last refreshes made visible, with contrast
// and light mode, handed over under a lock so the window thread never sees a half-drawn
// screen.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "sim/hal/host_services.h"

class LcdView {
  public:
    // Installs this view as the panel's display sink.
    void attach();
    static void detach();
    // Called (on the panel's thread) after every refresh, to wake a window that shows the view.
    void setListener(void (*listener)()) { listener_ = listener; }

    struct Snapshot {
        std::array<uint8_t, SIM_LCD_WIDTH * SIM_LCD_HEIGHT> pixels{}; // non-zero = set
        uint8_t contrast = 50;
        uint8_t lightMode = 4;
        uint64_t generation = 0; // counts refreshes
    };
    Snapshot snapshot() const;
    uint64_t generation() const;

    // 24-bit RGB of the visible panel in the greys the window shows.
    static std::vector<uint8_t> toRgb(const Snapshot& s);

  private:
    static void sink(const uint8_t* memory, SIM_Rect rect, uint8_t contrast, uint8_t lightMode);
    void refresh(const uint8_t* memory, SIM_Rect rect, uint8_t contrast, uint8_t lightMode);

    mutable std::mutex lock_;
    // What the panel shows, as the panel hands it over: one bit a pixel.
    std::array<uint8_t, SIM_LCD_BYTES_PER_ROW * SIM_LCD_HEIGHT> bits_{};
    uint8_t contrast_ = 50;
    uint8_t lightMode_ = 4;
    uint64_t generation_ = 0;
    std::atomic<void (*)()> listener_{nullptr};
};

// Writes 24-bit RGB pixels as a PNG file; false with a reason in `error` on failure.
bool PNG_WriteRgb(const std::string& path, const uint8_t* rgb, int width, int height,
                  std::string* error = nullptr);
// Reads a PNG as 24-bit RGB; false when the file is missing or not a PNG.
bool PNG_ReadRgb(const std::string& path, std::vector<uint8_t>& rgb, int& width, int& height);
