#pragma once

#include "link/StatusSink.h"

#include <cstdio>

// Status output for runs without a window.
class ConsoleSink : public Link::StatusSink
{
public:
    void StatusMessage(const QString &text, bool error) override
    {
        std::fprintf(error ? stderr : stdout, "%s%s\n", error ? "error: " : "", qPrintable(text));
    }
};
