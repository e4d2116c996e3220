#include "files/widgets/SaveDialog.h"

#include <QFileSystemModel>
#include <QRegularExpression>

namespace slatewick {

SaveDialog::SaveDialog(QWidget* parent) : QObject(parent), parent_(parent) {
  dlgSave_.OnExecute = [this](SaveFileModel& saveFile) { return Run(saveFile); };
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

bool SaveDialog::Run(SaveFileModel& saveFile) {
  QFileDialog& window = Window();
  if (window.nameFilters().join(QStringLiteral(";;")) != saveFile.Filter)
    window.setNameFilter(saveFile.Filter);
  const QStringList filters = window.nameFilters();
  if (saveFile.FilterIndex >= 0 && saveFile.FilterIndex < filters.size())
    window.selectNameFilter(filters[saveFile.FilterIndex]);
  UseSuffixOf(window.selectedNameFilter());
  if (!saveFile.FileName.isEmpty()) window.selectFile(saveFile.FileName);
  FollowFolder(true);
  const bool accepted = window.exec() == QDialog::Accepted;
  FollowFolder(false);
  if (!accepted || window.selectedFiles().isEmpty()) return false;
  saveFile.FileName = window.selectedFiles().constFirst();
  saveFile.FilterIndex = std::max<int>(int(filters.indexOf(window.selectedNameFilter())), 0);
  return true;
}

void SaveDialog::UseSuffixOf(const QString& nameFilter) {
  static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
  const QRegularExpressionMatch match = single.match(nameFilter);
  Window().setDefaultSuffix(match.hasMatch() ? match.captured(1) : dlgSave_.DefaultExt);
}

}  // namespace slatewick
