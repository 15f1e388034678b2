// SPDX-License-Identifier: MIT
#pragma once
// Keyboard mnemonics (Alt+letter) for the captions of a window's controls, chosen so that the
// controls shown together never share a letter.

#include <QList>
#include <QString>

class QWidget;

namespace kelvast::ui {

// The mnemonic letter of a caption, upper-cased ("&Open" gives 'O'; "A && B" has none): a null
// character when there is none.
QChar MnemonicOf(const QString& caption);

// The caption as shown, without its mnemonic marker ("&Help" gives "Help", "A && B" "A & B").
QString PlainCaption(const QString& caption);

// The mnemonic letters of the captioned controls under root, shown or not.
QString MnemonicsUnder(QWidget* root);

// Gives a mnemonic to each control under root that the keyboard can reach by its caption (labels
// with a buddy, push buttons, check boxes, radio buttons, and titled groups of radio buttons,
// whose own buttons then go without) and has none yet, skipping the widgets in `skip` and
// everything under them. Each of `pages` (widgets under root shown one at a time, as the pages
// of a stack) is a screen of its own with the rest of root: the letters of root's other controls
// are chosen so that every page keeps as many letters for its own controls as it could have, and
// no two controls shown together share a letter. The letters already used under root outside the
// pages, and those given to its controls, are added to `taken`.
void AssignMnemonics(QWidget* root, QString& taken, const QList<QWidget*>& skip = {},
                     const QList<QWidget*>& pages = {});

}  // namespace kelvast::ui
