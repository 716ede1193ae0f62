// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "naming/CaptureContext.h"

#include <QString>
#include <QStringList>

// Reads a Linux window title as evidence of what the window shows: the page, the file (without its
// extension) or the folder, with the folder in front when the file's own name says little
// ("README.md (~/src/parser)"). Application names, modified and status markers, user and host names,
// placeholders ("Untitled 1") and the generic folders of paths (~, src, Documents) name nothing and
// are dropped. Pure functions, safe on any thread.
namespace WindowTitle {

// Who is logged in where: a terminal's "ada@vm: ~" or a file manager's "ada" names nothing.
struct Identity
{
    QString userName;
    QString hostName; // up to the first dot
};

// This process's user and host, read once.
const Identity &localIdentity();

// The title's words in reading order; empty when it names no document, page or folder.
QStringList words(const CaptureContext &context, const Identity &identity = localIdentity());

} // namespace WindowTitle
