#include "files/widgets/SaveDialog.h"

#include <QFileSystemModel>
#include <QRegularExpression>

namespace slatewick {

SaveDialog::SaveDialog(QWidget* parent) : QObject(parent), parent_(parent) {
  dlgSave_.OnExecute = [this](TSaveDialog& dlgSave) { return Run(dlgSave); };
}

SaveDialog::~SaveDialog() {
  delete window_;
}

QFileDialog& SaveDialog::Window() {
  if (!window_) {
    window_ = new QFileDialog(parent_);
    window_->setAcceptMode(QFileDialog::AcceptSave);
    window_->setFileMode(QFileDialog::AnyFile);
    connect(window_, &QFileDialog::filterSelected, this, &SaveDialog::UseSuffixOf);
    FollowFolder(false);
  }
  return *window_;
}

void SaveDialog::FollowFolder(bool follow) {
  // The list's model is the dialog's own child (none while a native dialog stands in for it).
  if (auto* list = Window().findChild<QFileSystemModel*>())
    list->setOption(QFileSystemModel::DontWatchForChanges, !follow);
}

bool SaveDialog::Run(TSaveDialog& dlgSave) {
  QFileDialog& window = Window();
  if (window.nameFilters().join(QStringLiteral(";;")) != dlgSave.Filter)
    window.setNameFilter(dlgSave.Filter);
  const QStringList filters = window.nameFilters();
  if (dlgSave.FilterIndex >= 0 && dlgSave.FilterIndex < filters.size())
    window.selectNameFilter(filters[dlgSave.FilterIndex]);
  UseSuffixOf(window.selectedNameFilter());
  if (!dlgSave.FileName.isEmpty()) window.selectFile(dlgSave.FileName);
  FollowFolder(true);
  const bool accepted = window.exec() == QDialog::Accepted;
  FollowFolder(false);
  if (!accepted || window.selectedFiles().isEmpty()) return false;
  dlgSave.FileName = window.selectedFiles().constFirst();
  dlgSave.FilterIndex = std::max<int>(int(filters.indexOf(window.selectedNameFilter())), 0);
  return true;
}

void SaveDialog::UseSuffixOf(const QString& nameFilter) {
  static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
  const QRegularExpressionMatch match = single.match(nameFilter);
  Window().setDefaultSuffix(match.hasMatch() ? match.captured(1) : dlgSave_.DefaultExt);
}

}  // namespace slatewick
