#include "files/widgets/SaveDialog.h"

#include <QFileSystemModel>
#include <QRegularExpression>

namespace slatewick {

SaveDialog::SaveDialog(QWidget* parent) : QFileDialog(parent) {
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  connect(this, &QFileDialog::filterSelected, this, &SaveDialog::UseSuffixOf);
  dlgSave_.OnExecute = [this](TSaveDialog& dlgSave) { return Run(dlgSave); };
  FollowFolder(false);
}

void SaveDialog::FollowFolder(bool follow) {
  // The list's model is the dialog's own child (none while a native dialog stands in for it).
  if (auto* list = findChild<QFileSystemModel*>())
    list->setOption(QFileSystemModel::DontWatchForChanges, !follow);
}

bool SaveDialog::Run(TSaveDialog& dlgSave) {
  if (nameFilters().join(QStringLiteral(";;")) != dlgSave.Filter) setNameFilter(dlgSave.Filter);
  const QStringList filters = nameFilters();
  if (dlgSave.FilterIndex >= 0 && dlgSave.FilterIndex < filters.size())
    selectNameFilter(filters[dlgSave.FilterIndex]);
  UseSuffixOf(selectedNameFilter());
  if (!dlgSave.FileName.isEmpty()) selectFile(dlgSave.FileName);
  FollowFolder(true);
  const bool accepted = exec() == Accepted;
  FollowFolder(false);
  if (!accepted || selectedFiles().isEmpty()) return false;
  dlgSave.FileName = selectedFiles().constFirst();
  dlgSave.FilterIndex = std::max<int>(int(filters.indexOf(selectedNameFilter())), 0);
  return true;
}

void SaveDialog::UseSuffixOf(const QString& nameFilter) {
  static const QRegularExpression single(QStringLiteral("\\(\\*\\.(\\w+)\\)$"));
  const QRegularExpressionMatch match = single.match(nameFilter);
  setDefaultSuffix(match.hasMatch() ? match.captured(1) : dlgSave_.DefaultExt);
}

}  // namespace slatewick
