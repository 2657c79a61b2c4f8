#include "gui/search/StableSortProxy.h"

#include "core/rankings/KeyFold.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace tolvane {

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

} // namespace

void SortKeys::resize(std::size_t rows)
{
    numbers.assign(rows, kNotANumber);
    texts.assign(rows, {});
}

StableSortProxy::StableSortProxy(QObject* parent)
    : QSortFilterProxyModel(parent)
{
}

void StableSortProxy::setSourceModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    dropKeys();
    QSortFilterProxyModel::setSourceModel(model);
    if (!model)
        return;
    // Any change of the source may change the keys; they are read again on
    // the next comparison.
    connect(model, &QAbstractItemModel::modelReset, this, &StableSortProxy::dropKeys);
    connect(model, &QAbstractItemModel::layoutChanged, this, &StableSortProxy::dropKeys);
    connect(model, &QAbstractItemModel::rowsInserted, this, &StableSortProxy::dropKeys);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &StableSortProxy::dropKeys);
    connect(model, &QAbstractItemModel::rowsMoved, this, &StableSortProxy::dropKeys);
    connect(model, &QAbstractItemModel::dataChanged, this, &StableSortProxy::dropKeys);
}

void StableSortProxy::sort(int column, Qt::SortOrder order)
{
    dropKeys();
    QSortFilterProxyModel::sort(column, order);
}

void StableSortProxy::restoreSourceOrder()
{
    sort(-1, Qt::AscendingOrder);
}

const SortKeys& StableSortProxy::keysFor(int column, int row) const
{
    if (!keysValid_ || keysColumn_ != column || row >= static_cast<int>(keys_.numbers.size())) {
        const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
        keys_.resize(static_cast<std::size_t>(rows));
        buildSortKeys(column, keys_);
        keysColumn_ = column;
        keysValid_ = true;
    }
    return keys_;
}

bool StableSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const int a = left.row();
    const int b = right.row();
    const SortKeys& keys = keysFor(left.column(), std::max(a, b));
    const auto ia = static_cast<std::size_t>(a);
    const auto ib = static_cast<std::size_t>(b);
    const double na = keys.numbers[ia];
    const double nb = keys.numbers[ib];
    const bool numberA = !std::isnan(na);
    const bool numberB = !std::isnan(nb);
    if (numberA && numberB) {
        if (na != nb)
            return na < nb;
    } else if (numberA != numberB) {
        return numberA; // numbers before texts
    } else if (const int c = keys.texts[ia].compare(keys.texts[ib]); c != 0) {
        return c < 0;
    }
    // Equal keys: source order in either direction. A descending sort asks
    // lessThan(right, left), so the row order is flipped for it here.
    return sortOrder() == Qt::AscendingOrder ? a < b : a > b;
}

void StableSortProxy::buildSortKeys(int column, SortKeys& keys) const
{
    const QAbstractItemModel* model = sourceModel();
    const int role = sortRole();
    for (std::size_t row = 0; row < keys.numbers.size(); ++row) {
        const QVariant value = model->index(static_cast<int>(row), column).data(role);
        switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool: keys.numbers[row] = value.toDouble(); break;
        case QMetaType::QDateTime:
            keys.numbers[row] = static_cast<double>(value.toDateTime().toMSecsSinceEpoch());
            break;
        case QMetaType::QDate: keys.numbers[row] = static_cast<double>(value.toDate().toJulianDay()); break;
        default: keys.texts[row] = foldLetterCase(value.toString().toStdString()); break;
        }
    }
}

} // namespace tolvane
