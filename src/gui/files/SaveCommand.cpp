#include "gui/files/SaveCommand.h"

#include "core/files/AtomicFile.h"
#include "core/files/FileTexts.h"
#include "gui/Messages.h"
#include "gui/files/ChartExport.h"
#include "gui/files/TableExport.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTableView>

#include <cerrno>
#include <filesystem>

namespace tolvane {

namespace {

const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
const QString kPngFilter = QStringLiteral("PNG (*.png)");
const QString kSvgFilter = QStringLiteral("SVG (*.svg)");

// The path with the suffix the chosen filter stands for, when it has none of its own.
QString withSuffix(const QString& path, const QString& suffix)
{
    return QFileInfo(path).suffix().isEmpty() ? path + '.' + suffix : path;
}

} // namespace

SaveCommand::SaveCommand(QWidget& parent)
    : QObject(&parent)
    , parent_(parent)
{
}

QString SaveCommand::chooseSavePath(QWidget* parent, const QString& suggested, const QString& filters, QString* filter)
{
    QFileDialog dialog(parent, QStringLiteral("名前を付けて保存"), suggested, filters);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (filter && !filter->isEmpty())
        dialog.selectNameFilter(*filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filter)
        *filter = dialog.selectedNameFilter();
    return dialog.selectedFiles().front();
}

QString SaveCommand::suggestedPath(const QString& baseName, const QString& suffix) const
{
    const QString folder = startFolder_.isEmpty() || !QDir(startFolder_).exists() ? QDir::homePath() : startFolder_;
    return QDir(folder).filePath(baseName + '.' + suffix);
}

bool SaveCommand::mayWrite(const QString& path, bool suffixAdded)
{
    const std::string stored = QFile::encodeName(path).toStdString();
    const LinkTarget target = followLinks(stored);
    if (target.error == ELOOP) {
        Messages::inform(&parent_,
            FileTexts::saveFailed(path.toStdString(),
                tr("シンボリックリンクが循環していて、保存先がありません。別の名前を選んでください。").toStdString()));
        return false;
    }
    std::error_code ec;
    // The dialog asks before replacing a file it sees; it sees no file behind
    // a dangling link, nor one whose suffix is added after it closed.
    if (target.throughLink && !std::filesystem::exists(target.path, ec)) {
        const QString to = QFile::decodeName(QByteArray::fromStdString(target.path.string()));
        return Messages::ask(&parent_,
            {tr("%1 はリンク先のないシンボリックリンクです。").arg(QDir::toNativeSeparators(path)).toStdString(),
                tr("リンク先の %1 に保存しますか?").arg(QDir::toNativeSeparators(to)).toStdString()});
    }
    if (suffixAdded && std::filesystem::exists(stored, ec))
        return Messages::ask(&parent_,
            {tr("%1 は既に存在します。").arg(QDir::toNativeSeparators(path)).toStdString(),
                tr("置き換えますか?").toStdString()});
    return true;
}

bool SaveCommand::write(const QString& path, std::string_view bytes)
{
    std::string why;
    if (writeFileAtomically(QFile::encodeName(path).toStdString(), bytes, &why)) {
        emit saved(path);
        return true;
    }
    Messages::inform(&parent_, FileTexts::saveFailed(path.toStdString(), why));
    return false;
}

bool SaveCommand::saveTable(const QTableView& table, const QString& baseName)
{
    QString filter = kCsvFilter;
    const QString path = chooser_(&parent_, suggestedPath(baseName, "csv"), kCsvFilter, &filter);
    if (path.isEmpty())
        return false;
    const QString target = withSuffix(path, "csv");
    if (!mayWrite(target, target != path))
        return false;
    return write(target, TableExport::csv(table));
}

bool SaveCommand::saveChart(QWidget& chart, const QString& baseName)
{
    QString filter = kPngFilter;
    const QString chosen = chooser_(&parent_, suggestedPath(baseName, "png"), kPngFilter + ";;" + kSvgFilter, &filter);
    if (chosen.isEmpty())
        return false;
    const QString path = withSuffix(chosen, filter == kSvgFilter ? "svg" : "png");
    if (!mayWrite(path, path != chosen))
        return false;
    const bool asSvg = QFileInfo(path).suffix().compare("svg", Qt::CaseInsensitive) == 0;
    const QByteArray bytes
        = asSvg ? ChartExport::svg(chart, baseName, QString()) : ChartExport::png(chart, baseName, QString());
    return write(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace tolvane
