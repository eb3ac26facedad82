#include "platform/qt/qt_list_widgets.h"

#include <QHeaderView>

#include "platform/back_end.h"

namespace tidex {

ListViewPeer::ListViewPeer(ListView& list, QWidget* parent)
    : WidgetPeer(list, new QTreeWidget(parent)), control_(list) {
  QTreeWidget* w = tree();
  w->setRootIsDecorated(false);
  w->setUniformRowHeights(true);
  w->setAllColumnsShowFocus(true);
  w->setSelectionMode(QAbstractItemView::SingleSelection);
  w->setSelectionBehavior(QAbstractItemView::SelectRows);
  w->setEditTriggers(QAbstractItemView::NoEditTriggers);
  w->header()->setStretchLastSection(true);
  connect(w, &QTreeWidget::itemSelectionChanged, this, &ListViewPeer::selectionMoved);
  // A double-click, or Enter on the current row.
  connect(w, &QTreeWidget::itemActivated, this, &ListViewPeer::rowActivated);
  sync();
}

void ListViewPeer::sync() {
  QTreeWidget* w = tree();
  syncCommon(QString());
  pushing_ = true;
  if (columns_ != control_.Columns()) {
    columns_ = control_.Columns();
    w->setColumnCount(static_cast<int>(columns_.size()));
    w->setHeaderLabels(columns_);
  }
  if (rows_ != control_.Rows()) {
    rows_ = control_.Rows();
    w->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows_.size()));
    for (const QStringList& row : rows_) items.push_back(new QTreeWidgetItem(row));
    w->addTopLevelItems(items);
    for (int column = 0; column + 1 < w->columnCount(); ++column) {
      w->resizeColumnToContents(column);
    }
  }
  const int index = control_.ListIndex();
  QTreeWidgetItem* wanted = index < 0 ? nullptr : w->topLevelItem(index);
  if (w->currentItem() != wanted || (wanted && !wanted->isSelected())) {
    if (wanted) {
      w->setCurrentItem(wanted);
      w->scrollToItem(wanted);
    } else {
      w->clearSelection();
      w->setCurrentItem(nullptr);
    }
  }
  pushing_ = false;
}

void ListViewPeer::selectionMoved() {
  if (pushing_) return;
  const QList<QTreeWidgetItem*> selected = tree()->selectedItems();
  const int index = selected.isEmpty() ? -1 : tree()->indexOfTopLevelItem(selected.front());
  QPointer<ListViewPeer> self(this);
  BackEnd::rowSelected(control_, index);
  if (self) sync();  // a disabled list keeps the control's selection
}

void ListViewPeer::rowActivated(QTreeWidgetItem* item) {
  if (pushing_ || !item) return;
  QPointer<ListViewPeer> self(this);
  BackEnd::rowActivated(control_, tree()->indexOfTopLevelItem(item));
  if (self) sync();
}

ComboBoxPeer::ComboBoxPeer(ComboBox& box, QWidget* parent)
    : WidgetPeer(box, new QComboBox(parent)), control_(box) {
  combo()->setEditable(false);
  connect(combo(), &QComboBox::activated, this, [this](int index) {
    if (pushing_) return;
    QPointer<ComboBoxPeer> self(this);
    BackEnd::chosen(control_, index);
    if (self) sync();
  });
  sync();
}

void ComboBoxPeer::sync() {
  QComboBox* w = combo();
  syncCommon(QString());
  pushing_ = true;
  QStringList shown;
  for (int i = 0; i < w->count(); ++i) shown.push_back(w->itemText(i));
  if (shown != control_.List()) {
    w->clear();
    w->addItems(control_.List());
  }
  if (w->currentIndex() != control_.ListIndex()) w->setCurrentIndex(control_.ListIndex());
  pushing_ = false;
}

namespace {

QString htmlOf(const TextRuns& runs, TextPane::Marking marking) {
  const QString markStyle = marking == TextPane::Marking::Removed
                                ? QStringLiteral(
                                      "background-color:#ffc8c8;"
                                      "text-decoration:line-through;")
                                : QStringLiteral("background-color:#b8ecb8;font-weight:bold;");
  QString html = QStringLiteral("<div style=\"white-space:pre-wrap;\">");
  for (const TextRun& run : runs) {
    QString text = run.text.toHtmlEscaped();
    text.replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    if (run.marked) {
      html += QStringLiteral("<span style=\"%1\">%2</span>").arg(markStyle, text);
    } else {
      html += text;
    }
  }
  return html + QStringLiteral("</div>");
}

}  // namespace

TextPanePeer::TextPanePeer(TextPane& pane, QWidget* parent)
    : WidgetPeer(pane, new QTextBrowser(parent)), control_(pane) {
  browser()->setOpenLinks(false);
  browser()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  sync();
}

void TextPanePeer::sync() {
  syncCommon(QString());
  if (shown_ == control_.Runs()) return;
  shown_ = control_.Runs();
  browser()->setHtml(htmlOf(shown_, control_.marking()));
}

}  // namespace tidex
