#include "ui/file_chooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tarn::ui {
namespace {

std::optional<std::filesystem::path> Chosen(const QString& path, QString& folder) {
  if (path.isEmpty()) return std::nullopt;
  folder = QFileInfo(path).absolutePath();
  return std::filesystem::path(path.toStdU16String());
}

QString Preset(const QString& folder, const QString& name) {
  if (name.isEmpty()) return folder;
  return folder.isEmpty() ? name : QDir(folder).filePath(name);
}

}  // namespace

QString FilterOf(FileKind kind) {
  return kind == FileKind::kConfiguration ? QStringLiteral("Tarn Config Data (*.dat)")
                                          : QStringLiteral("Tarn Device Definitions (*.def)");
}

std::optional<std::filesystem::path> DialogFileChooser::Open(FileKind kind, const QString& title,
                                                             const QString& preset_name) {
  if (kind == FileKind::kLayoutFolder) {
    return Chosen(QFileDialog::getExistingDirectory(parent_, title, Preset(folder_, preset_name)),
                  folder_);
  }
  return Chosen(
      QFileDialog::getOpenFileName(parent_, title, Preset(folder_, preset_name), FilterOf(kind)),
      folder_);
}

std::optional<std::filesystem::path> DialogFileChooser::Save(FileKind kind, const QString& title,
                                                             const QString& preset_name) {
  // A layout folder to save into may be made in the dialog itself.
  if (kind == FileKind::kLayoutFolder) return Open(kind, title, preset_name);
  QString path =
      QFileDialog::getSaveFileName(parent_, title, Preset(folder_, preset_name), FilterOf(kind));
  // The filter names the extension; a name typed without one gets it, as the dialog suggests.
  const QString extension = kind == FileKind::kConfiguration ? QStringLiteral(".dat")
                                                             : QStringLiteral(".def");
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && !QFileInfo(path).exists()) {
    path += extension;
  }
  return Chosen(path, folder_);
}

}  // namespace tarn::ui
