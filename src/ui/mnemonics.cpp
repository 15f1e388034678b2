// SPDX-License-Identifier: MIT
#include "ui/mnemonics.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <QMap>
#include <algorithm>
#include <functional>

namespace kelvast::ui {

namespace {

bool Skipped(const QWidget* w, const QList<QWidget*>& skip) {
  for (const QWidget* s : skip)
    if (s && (s == w || s->isAncestorOf(w))) return true;
  return false;
}

// The caption of a control that takes a mnemonic, and how to change it.
struct TCaptioned {
  QString Text;
  std::function<void(const QString&)> Set;
};

// A titled group of radio buttons: one keyboard stop, reached by its title's mnemonic, inside
// which the arrow keys choose.
bool IsRadioGroup(const QWidget* w) {
  const auto* group = qobject_cast<const QGroupBox*>(w);
  return group && !group->isCheckable() && !group->title().isEmpty() &&
         group->findChild<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
}

bool Captioned(QWidget* w, TCaptioned& out) {
  if (auto* label = qobject_cast<QLabel*>(w)) {
    if (!label->buddy() || label->textFormat() == Qt::RichText) return false;
    out = {label->text(), [label](const QString& t) { label->setText(t); }};
    return true;
  }
  if (IsRadioGroup(w)) {
    auto* group = static_cast<QGroupBox*>(w);
    out = {group->title(), [group](const QString& t) { group->setTitle(t); }};
    return true;
  }
  if (qobject_cast<QRadioButton*>(w) && IsRadioGroup(w->parentWidget())) return false;
  if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) ||
      qobject_cast<QRadioButton*>(w)) {
    auto* button = static_cast<QAbstractButton*>(w);
    if (button->text().isEmpty()) return false;
    out = {button->text(), [button](const QString& t) { button->setText(t); }};
    return true;
  }
  return false;
}

// A control without a mnemonic yet, and the letters it could take: the first letters of its
// words first, then its other letters, each once, upper-cased, none of them already taken.
struct TCandidate {
  QWidget* Widget;
  TCaptioned Caption;
  QString Letters;
};

QString LettersOf(const QString& caption, const QString& taken) {
  QString letters;
  for (int pass = 0; pass < 2; ++pass)
    for (qsizetype i = 0; i < caption.size(); ++i) {
      const QChar c = caption[i].toUpper();
      const bool wordStart = i == 0 || !caption[i - 1].isLetterOrNumber();
      if ((pass == 0) != wordStart) continue;
      if (caption[i].isLetterOrNumber() && c.unicode() < 128 && !taken.contains(c) &&
          !letters.contains(c))
        letters += c;
    }
  return letters;
}

// The captioned controls under root without a mnemonic (the letters of those with one are added
// to taken), skipping the widgets in skip and what they hold.
QList<TCandidate> Candidates(QWidget* root, QString& taken, const QList<QWidget*>& skip) {
  QList<TCandidate> found;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    TCaptioned c;
    if (Skipped(w, skip) || !Captioned(w, c)) continue;
    const QChar used = MnemonicOf(c.Text);
    if (used.isNull()) found.append({w, c, {}});
    else taken += used;
  }
  return found;
}

// A maximum matching of controls to distinct letters outside `used` (Kuhn's augmenting paths);
// each control's letters are tried in its order of preference. Returns the letter of each
// control, a null character for those left without.
QList<QChar> Match(const QList<TCandidate>& controls, const QString& used) {
  QList<QChar> letterOf(controls.size());
  QMap<QChar, qsizetype> holder;
  std::function<bool(qsizetype, QString&)> augment = [&](qsizetype i, QString& visited) {
    for (const QChar c : controls[i].Letters) {
      if (used.contains(c) || visited.contains(c)) continue;
      visited += c;
      if (!holder.contains(c) || augment(holder[c], visited)) {
        holder[c] = i;
        letterOf[i] = c;
        return true;
      }
    }
    return false;
  };
  for (qsizetype i = 0; i < controls.size(); ++i) {
    QString visited;
    augment(i, visited);
  }
  return letterOf;
}

qsizetype Matched(const QList<QChar>& letters) {
  return std::count_if(letters.begin(), letters.end(), [](QChar c) { return !c.isNull(); });
}

void Apply(const TCandidate& control, QChar letter) {
  if (letter.isNull()) return;
  const QString& text = control.Caption.Text;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i].toUpper() == letter) {
      // The first letters of words come first, as LettersOf proposed them.
      qsizetype at = i;
      for (qsizetype j = i; j < text.size(); ++j)
        if (text[j].toUpper() == letter && (j == 0 || !text[j - 1].isLetterOrNumber())) {
          at = j;
          break;
        }
      control.Caption.Set(text.left(at) + u'&' + text.mid(at));
      return;
    }
}

}  // namespace

QChar MnemonicOf(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;  // "&&" shows one ampersand
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return {};
}

QString PlainCaption(const QString& caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

QString MnemonicsUnder(QWidget* root) {
  QString letters;
  Candidates(root, letters, {});
  return letters;
}

void AssignMnemonics(QWidget* root, QString& taken, const QList<QWidget*>& skip,
                     const QList<QWidget*>& pages) {
  QList<QWidget*> notShared = skip;
  notShared += pages;
  QList<TCandidate> shared = Candidates(root, taken, notShared);
  QList<QList<TCandidate>> pageControls;
  QList<QString> pageTaken;
  for (QWidget* page : pages) {
    QString pageLetters;
    pageControls.append(Candidates(page, pageLetters, skip));
    pageTaken.append(pageLetters);
  }
  for (TCandidate& c : shared) c.Letters = LettersOf(c.Caption.Text, taken);

  // How many controls of each page can get a letter when the shared controls take none: the
  // shared controls' letters are chosen so that every page still gets that many.
  const auto pageNeeds = [&](qsizetype p, const QString& used) {
    QList<TCandidate> controls = pageControls[p];
    for (TCandidate& c : controls) c.Letters = LettersOf(c.Caption.Text, taken + pageTaken[p]);
    return Matched(Match(controls, used));
  };
  QList<qsizetype> needs;
  for (qsizetype p = 0; p < pages.size(); ++p) needs.append(pageNeeds(p, {}));
  const auto pagesKeepTheirLetters = [&](const QString& used) {
    for (qsizetype p = 0; p < pages.size(); ++p)
      if (pageNeeds(p, used) < needs[p]) return false;
    return true;
  };

  // The shared controls, fewest letters first, each trying its letters in order until every
  // page can still be served; when no choice serves them all, the plain maximum matching.
  std::stable_sort(shared.begin(), shared.end(), [](const TCandidate& a, const TCandidate& b) {
    return a.Letters.size() < b.Letters.size();
  });
  QList<QChar> chosen(shared.size());
  QString used;
  std::function<bool(qsizetype)> choose = [&](qsizetype i) {
    if (i == shared.size()) return true;
    for (const QChar c : shared[i].Letters) {
      if (used.contains(c)) continue;
      used += c;
      if (pagesKeepTheirLetters(used) && choose(i + 1)) {
        chosen[i] = c;
        return true;
      }
      used.chop(1);
    }
    return false;
  };
  if (!choose(0)) {
    chosen = Match(shared, {});
    used.clear();
    for (const QChar c : chosen)
      if (!c.isNull()) used += c;
  }
  for (qsizetype i = 0; i < shared.size(); ++i) Apply(shared[i], chosen[i]);
  taken += used;

  for (qsizetype p = 0; p < pages.size(); ++p) {
    QList<TCandidate>& controls = pageControls[p];
    for (TCandidate& c : controls) c.Letters = LettersOf(c.Caption.Text, taken + pageTaken[p]);
    const QList<QChar> letters = Match(controls, {});
    for (qsizetype i = 0; i < controls.size(); ++i) Apply(controls[i], letters[i]);
  }
}

}  // namespace kelvast::ui
