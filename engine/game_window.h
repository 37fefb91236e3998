// What the game needs of its main window, and through it of the store that keeps settings and
// statistics from one run to the next. The main window implements it; tests use a recording fake.
// The engine reaches nothing else of the screen or the store.
#pragma once

// Message-box styles and answers, as the platform numbers them.
constexpr unsigned kBoxOk = 0x00;
constexpr unsigned kBoxOkCancel = 0x01;
constexpr unsigned kBoxIconError = 0x10;
constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;

// Window timer 1 serves the intro (intro_phase.h) and the game clock, one after the other.
constexpr unsigned kGameTimer = 1;
constexpr unsigned kGameClockPeriodMs = 100;

struct GameWindow {
    virtual ~GameWindow() = default;
    // Invalidate the whole client area without erasing, then paint at once.
    virtual void Repaint() = 0;
    // Invalidate the whole client area without erasing; the paint follows later.
    virtual void Invalidate() = 0;
    // A modal message box owned by the window; returns the answer (1 OK, 2 Cancel).
    virtual int ShowMessage(const wchar_t* text, const wchar_t* caption, unsigned style) = 0;
    // Starts window timer `id`; returns the identifier that stopping it needs.
    virtual unsigned StartTimer(unsigned id, unsigned periodMs) = 0;
    virtual void StopTimer(unsigned timerId) = 0;
    // Retitles the menu in the current language.
    virtual void ApplyMenuLanguage() = 0;

    // Reads the stored language, puzzle and statistics into the game state; 0 when read, -1 when
    // nothing is stored.
    virtual long LoadSettings() = 0;
    // Writes them; 0 on success, otherwise the store's failure code.
    virtual long SaveSettings() = 0;
    // Whether the statistics differ from those last read or written: a game booked into the
    // totals that no save point has written since.
    virtual bool StatisticsUnsaved() = 0;
};
