// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/TakeOverChannel.h"

class FakeTakeOverChannel final : public TakeOverChannel
{
public:
    int announcements = 0;

    void announce() override { ++announcements; }
};
