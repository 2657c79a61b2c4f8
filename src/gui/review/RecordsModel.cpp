#include "gui/review/RecordsModel.h"

#include "gui/models/ItemRoles.h"
#include "gui/sessions/SessionTableModel.h"

#include <QLocale>
#include <QStringList>

namespace tolvane {

RecordsModel::RecordsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void RecordsModel::setRecords(std::vector<RecordRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int RecordsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RecordsModel::withGain(double value, const std::optional<double>& before)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions); // 185,000
    QString text = c.toString(value, 'f', 0);
    if (before) {
        const double gain = value - *before;
        text += QStringLiteral(" (%1%2)").arg(gain >= 0 ? QStringLiteral("+") : QString(), c.toString(gain, 'f', 0));
    }
    return text;
}

QString RecordsModel::marksText(const RecordRow& r)
{
    QStringList marks;
    if (r.bestScore)
        marks << tr("スコア更新");
    if (r.bestCombo)
        marks << tr("コンボ更新");
    if (r.firstFullCombo)
        marks << tr("初フルコンボ");
    return marks.join(QStringLiteral("・"));
}

QVariant RecordsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const RecordRow& r = rows_[static_cast<std::size_t>(index.row())];
    if (role == SongKeyRole)
        return QString::fromStdString(r.title);
    if (role == SortRole) {
        switch (index.column()) {
        case At: return QVariant::fromValue<qint64>(r.seconds);
        case Song: return QString::fromStdString(r.title);
        case Attempt: return r.attempt;
        case Score: return r.score;
        case Combo: return r.maxCombo;
        case Marks: return marksText(r);
        default: return {};
        }
    }
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case At: return SessionTableModel::timeText(r.seconds);
        case Song: return QString::fromStdString(r.title);
        case Attempt: return r.attempt;
        case Score:
            return withGain(
                r.score, r.previousScore ? std::optional<double>(static_cast<double>(*r.previousScore)) : std::nullopt);
        case Combo: return withGain(r.maxCombo, r.previousCombo);
        case Marks: return marksText(r);
        default: return {};
        }
    }
    if (role == Qt::TextAlignmentRole
        && (index.column() == Attempt || index.column() == Score || index.column() == Combo))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant RecordsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case At: return tr("日時");
    case Song: return tr("曲");
    case Attempt: return tr("回目");
    case Score: return tr("スコア（更新幅）");
    case Combo: return tr("MaxCombo（更新幅）");
    case Marks: return tr("記録");
    default: return {};
    }
}

} // namespace tolvane
