#pragma once
// Reads the desktop's font configuration on a thread of its own while the program
// connects to the window system. The splash's first measured caption would otherwise
// wait for it: parsing the font configuration files is most of what the splash costs.

#include <thread>

class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp() { finish(); }
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // Waits for the thread; call before the first window is made.
    void finish();

private:
    std::thread thread_;
};
