// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;
class QLabel;
class QWidget;

// The settings window's text styles: notes in a smaller font and the secondary colour, errors in red.
namespace SettingsWidgets {

QFont calloutFont(const QFont &base);
// A word-wrapped note in the secondary colour.
QLabel *noteLabel(QWidget *parent);
// A word-wrapped error in a red readable on the palette's window colour; hidden until it has text.
QLabel *errorLabel(QWidget *parent);

} // namespace SettingsWidgets
