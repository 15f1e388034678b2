#include "ui/tabs/connection_tab.h"

#include "core/database/schema.h"
#include "ui/ansi_text.h"
#include "ui/grid_autosize.h"
#include "ui/message_box.h"
#include "ui/ui_state.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kelvast::ui {

namespace {

// Shows the wait cursor for the guard's lifetime, on every exit path.
struct TWaitCursor {
  TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
};

QToolButton* SpeedButton(const char* name, const char* hint, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(QLatin1String(name));
  b->setToolTip(QLatin1String(hint));
  b->setText(QLatin1String(hint));
  return b;
}

}  // namespace

TConnectionTab::TConnectionTab(TUiState& state, QWidget* parent) : QWidget(parent), FState(state) {
  setObjectName(QStringLiteral("TabSheet1"));
  auto* top = new QHBoxLayout;
  FClear = SpeedButton("sbClearConnection", "Clear the connection", this);
  top->addWidget(FClear);
  FLabel = new QLabel(QStringLiteral("<no connection string>"), this);
  FLabel->setObjectName(QStringLiteral("Label1"));
  FLabel->setWordWrap(true);
  FLabel->setTextFormat(Qt::PlainText);
  top->addWidget(FLabel, 1);

  auto* tables = new QHBoxLayout;
  FTables = new QComboBox(this);
  FTables->setObjectName(QStringLiteral("cbtables"));
  FTables->setToolTip(QStringLiteral("Table list"));
  FTables->setMaxVisibleItems(16);
  tables->addWidget(FTables, 1);
  FCopy = SpeedButton("sbcopyfields", "Copy fields to clipboard", this);
  tables->addWidget(FCopy);

  FGrid = new QTableWidget(this);
  FGrid->setObjectName(QStringLiteral("sg1"));
  FGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FGrid->verticalHeader()->hide();
  FGrid->horizontalHeader()->hide();
  FGrid->verticalHeader()->setDefaultSectionSize(18);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(tables);
  layout->addWidget(FGrid, 1);

  connect(FClear, &QToolButton::clicked, this, [this] { ApplyConnectionString({}); });
  connect(FCopy, &QToolButton::clicked, this, [this] { CopyFields(); });
  // A pick whose connection cannot be opened is reported; the grid keeps what it showed.
  connect(FTables, &QComboBox::currentIndexChanged, this, [this] {
    try {
      ShowFields();
    } catch (const std::exception& e) {
      ShowMessage(this, FromAnsi(e.what()), TMsgIcon::Error);
    }
  });
}

void TConnectionTab::ApplyConnectionString(const QString& text) {
  TWaitCursor wait;
  const QString trimmed = text.trimmed();
  FState.Connection->Close();
  FState.Connection->SetConnectionString(ToAnsi(trimmed));
  const bool modified = FState.Model->Modified();
  FState.Model->SetConnectionString(ToAnsi(trimmed));
  FLabel->setText(trimmed);
  if (!trimmed.isEmpty()) {
    RefreshTables();
    ShowFields();
  }
  FState.Model->SetModified(modified);
}

void TConnectionTab::RefreshTables() {
  QSignalBlocker block(FTables);
  FTables->clear();
  if (!FState.Connection->Connected()) FState.Connection->Open();
  QStringList names;
  for (const std::string& name : FState.Connection->TableNames())
    names << FromAnsi(name);
  names.sort();
  FTables->addItems(names);
  const int at = FTables->findText(FromAnsi(FState.Model->TableName()));
  FTables->setCurrentIndex(at >= 0 ? at : (names.isEmpty() ? -1 : 0));
}

// Shows the selected table's fields and makes it the model's target table; with no table
// selected the model's target table becomes empty and the grid keeps only its titles.
void TConnectionTab::ShowFields() {
  if (!FState.Connection->Connected()) FState.Connection->Open();
  const std::string table =
      FTables->currentIndex() < 0 ? std::string() : ToAnsi(FTables->currentText());
  if (FState.FUpdating == 0) FState.Model->SetTableName(table);
  const std::vector<TColumnInfo> columns =
      table.empty() ? std::vector<TColumnInfo>() : FState.Connection->Columns(table);
  const auto grid = FieldsGrid(columns);
  FGrid->clear();
  FGrid->setRowCount(int(grid.size()));
  FGrid->setColumnCount(6);
  for (int r = 0; r < int(grid.size()); ++r)
    for (int c = 0; c < int(grid[r].size()) && c < 6; ++c) {
      auto* item = new QTableWidgetItem(FromAnsi(grid[r][c]));
      if (r == 0 || c == 0) item->setBackground(QColor(176, 176, 217));
      FGrid->setItem(r, c, item);
    }
  AutoSizeColumns(FGrid, true);
  if (TargetFieldsShown) TargetFieldsShown(TargetFields(columns));
}

void TConnectionTab::ShowTableFields(const QString& table) {
  {
    QSignalBlocker block(FTables);
    FTables->setCurrentIndex(FTables->findText(table, Qt::MatchFixedString));
  }
  ShowFields();
}

void TConnectionTab::CopyFields() {
  std::vector<std::vector<std::string>> grid;
  for (int r = 0; r < FGrid->rowCount(); ++r) {
    std::vector<std::string> row;
    for (int c = 0; c < FGrid->columnCount(); ++c) {
      const QTableWidgetItem* item = FGrid->item(r, c);
      row.push_back(item ? ToAnsi(item->text()) : std::string());
    }
    grid.push_back(std::move(row));
  }
  QGuiApplication::clipboard()->setText(FromAnsi(GridText(grid)));
}

}  // namespace kelvast::ui
