#pragma once
// A game table on a fake desktop, with helpers to play it.

#include "fake_platform.h"
#include "game/smashine.h"

#include <memory>

// Ticks a spinning reel (0 A, 1 B, 2 C) of table until it shows `step`.
void tickReelTo(Smashine &table, int reel, int step);
// Starts a spin and stops the reels at the given steps, in order A, B, C.
void spinAndStop(Smashine &table, int a, int b, int c);
// Lets the ranking countdown see up to `seconds` full seconds pass on the
// fake desktop's clock, fewer when it ends before.
void runCountdown(Smashine &table, FakePlatform &fake, int seconds);

struct Table {
    explicit Table(double random = 0.0)
    {
        fake.randomValues.push_back(random);
        w = std::make_unique<Smashine>();
    }
    FakePlatform fake;
    std::unique_ptr<Smashine> w;

    Smashine *operator->() const { return w.get(); }

    // Ticks a spinning reel (0 A, 1 B, 2 C) until it shows `step`.
    void tickTo(int reel, int step) const;
    // Starts a spin and stops the reels at the given steps, in order A, B, C.
    void spinAndStop(int a, int b, int c) const;
    // Lets the ranking countdown see up to `seconds` full seconds pass.
    void runCountdown(int seconds) { ::runCountdown(*w, fake, seconds); }
    // Every lamp's fill colour and every line's visibility, as text.
    QString betState() const;
    // Enabled state of Reset, Allcoin, Start, StopA, StopB, StopC, ENDS as
    // text, '1' for enabled.
    QString buttons() const;
    // Shows the table and waits until it is the active window.
    void show() const;
};
