#include "gui/song/SongAttemptsModel.h"

#include "core/log/NumberText.h"
#include "gui/models/ItemRoles.h"

#include <QStringList>

namespace tolvane {

namespace {

const char* const kHeaders[SongAttemptsModel::ColumnCount] = {"回", "日時", "Score", "MaxCombo", "TotalNote", "Great",
    "Good", "Bad", "Poor", "オートプレイ", "オートスクラッチ", "記録"};

} // namespace

QString dateTimeText(DateValue value)
{
    const DateParts p = splitDate(value);
    return QString::asprintf("%04d/%02d/%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

QString numberCellText(double value)
{
    return QString::fromStdString(numberText(value));
}

SongAttemptsModel::SongAttemptsModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

int SongAttemptsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(attempts_.size());
}

int SongAttemptsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString SongAttemptsModel::marksText(const SongAttempt& attempt)
{
    QStringList marks;
    if (attempt.newBestScore)
        marks << QStringLiteral("S");
    if (attempt.newBestCombo)
        marks << QStringLiteral("C");
    if (attempt.fullCombo)
        marks << QStringLiteral("FC");
    return marks.join(QLatin1Char(' '));
}

QString SongAttemptsModel::marksLegend()
{
    return QStringLiteral("記録: S = スコア自己ベスト更新　C = 最大コンボ更新　FC = フルコンボ (MaxCombo = TotalNote)");
}

QVariant SongAttemptsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SongAttempt& a = attempts_[static_cast<std::size_t>(index.row())];
    const auto judgement = [&](int i) -> std::optional<double> { return a.judgements[static_cast<std::size_t>(i)]; };

    if (role == SortRole) {
        switch (index.column()) {
        case Attempt: return a.attempt;
        case DateTime: return a.at;
        case Score: return a.score;
        case MaxCombo: return a.maxCombo;
        case TotalNotes: return a.totalNotes;
        case Great:
        case Good:
        case Bad:
        case Poor: {
            const auto value = judgement(index.column() - Great);
            return value ? QVariant(*value) : QVariant(-1.0); // a missing label sorts first
        }
        case Autoplay: return a.autoplay;
        case AutoScratch: return a.autoScratch;
        case Marks: return (a.newBestScore ? 4 : 0) + (a.newBestCombo ? 2 : 0) + (a.fullCombo ? 1 : 0);
        default: return {};
        }
    }
    if (role == Qt::ToolTipRole && index.column() == Marks)
        return marksLegend();
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>((index.column() == DateTime || index.column() == Marks ? Qt::AlignLeft : Qt::AlignRight)
            | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Attempt: return a.attempt;
    case DateTime: return dateTimeText(a.at);
    case Score: return a.score;
    case MaxCombo: return numberCellText(a.maxCombo);
    case TotalNotes: return numberCellText(a.totalNotes);
    case Great:
    case Good:
    case Bad:
    case Poor: {
        const auto value = judgement(index.column() - Great);
        return value ? numberCellText(*value) : QString();
    }
    case Autoplay: return a.autoplay;
    case AutoScratch: return a.autoScratch;
    case Marks: return marksText(a);
    default: return {};
    }
}

QVariant SongAttemptsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(kHeaders[section]);
    if (role == Qt::ToolTipRole && section == Marks)
        return marksLegend();
    return {};
}

void SongAttemptsModel::setAttempts(std::vector<SongAttempt> attempts)
{
    beginResetModel();
    attempts_ = std::move(attempts);
    endResetModel();
}

} // namespace tolvane
