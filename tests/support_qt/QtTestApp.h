#pragma once
#include <QApplication>
#include <cstdint>
#include <functional>

// The QApplication of a test program, created on first use (from the main
// thread) and kept until the program ends.
QApplication& TestApplication();

// Handles the user-interface thread's events until fnDone returns true or
// nTimeoutMs have passed; returns fnDone's last answer.
bool PumpEventsUntil(const std::function<bool()>& fnDone, uint32_t nTimeoutMs = 5000);

// Handles the events that arrive during nMs.
void PumpEventsFor(uint32_t nMs);
