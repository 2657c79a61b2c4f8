#include "gui/search/StableSortProxy.h"

#include "core/rankings/KeyFold.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace tolvane {

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

bool isNumberOrDate(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
    case QMetaType::QDateTime:
    case QMetaType::QDate: return true;
    default: return false;
    }
}

} // namespace

void SortKeys::resize(std::size_t rows)
{
    numbers.assign(rows, kNotANumber);
    texts.assign(rows, {});
    ranks.assign(rows, 0);
}

void SortKeys::rank()
{
    // Texts are folded names that a long log repeats many times over: only
    // the distinct ones are compared as texts, each row then carries its
    // text's place as a number.
    std::unordered_map<std::string_view, std::uint32_t> textIds;
    std::vector<std::string_view> distinct;
    std::vector<std::uint32_t> textId(numbers.size(), 0);
    for (std::size_t r = 0; r < numbers.size(); ++r) {
        if (!std::isnan(numbers[r]))
            continue;
        const auto [it, added] = textIds.try_emplace(texts[r], static_cast<std::uint32_t>(distinct.size()));
        if (added)
            distinct.push_back(texts[r]);
        textId[r] = it->second;
    }
    std::vector<std::uint32_t> byText(distinct.size());
    std::iota(byText.begin(), byText.end(), 0U);
    std::sort(
        byText.begin(), byText.end(), [&](std::uint32_t a, std::uint32_t b) { return distinct[a] < distinct[b]; });
    std::vector<double> textPlace(distinct.size());
    for (std::size_t i = 0; i < byText.size(); ++i)
        textPlace[byText[i]] = static_cast<double>(i);

    // Then every row by (number before text, its number or its text's place).
    struct Key {
        bool text;
        double value;
        std::uint32_t row;
    };
    std::vector<Key> order(numbers.size());
    for (std::size_t r = 0; r < numbers.size(); ++r) {
        const bool text = std::isnan(numbers[r]);
        order[r] = {text, text ? textPlace[textId[r]] : numbers[r], static_cast<std::uint32_t>(r)};
    }
    std::sort(order.begin(), order.end(),
        [](const Key& a, const Key& b) { return a.text != b.text ? b.text : a.value < b.value; });
    std::uint32_t place = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && (order[i].text != order[i - 1].text || order[i].value != order[i - 1].value))
            place = static_cast<std::uint32_t>(i);
        ranks[order[i].row] = place;
    }
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

QVariant StableSortProxy::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::InitialSortOrderRole && orientation == Qt::Horizontal) {
        // A column's own model may say; otherwise players look for their
        // best first: the highest score, the latest date.
        const QVariant own = QSortFilterProxyModel::headerData(section, orientation, role);
        if (own.isValid())
            return own;
        return sortsAsNumbers(section) ? Qt::DescendingOrder : Qt::AscendingOrder;
    }
    return QSortFilterProxyModel::headerData(section, orientation, role);
}

bool StableSortProxy::sortsAsNumbers(int column) const
{
    const QAbstractItemModel* model = sourceModel();
    if (!model || column < 0 || column >= model->columnCount())
        return false;
    // A few rows are enough: a column holds one kind of key, and an empty
    // cell (no value) tells nothing.
    const int rows = std::min(model->rowCount(), 16);
    for (int row = 0; row < rows; ++row) {
        const QVariant value = model->index(row, column).data(sortRole());
        if (value.isValid() && !(value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            return isNumberOrDate(value);
    }
    return false;
}

const SortKeys& StableSortProxy::keysFor(int column, int row) const
{
    if (!keysValid_ || keysColumn_ != column || row >= static_cast<int>(keys_.numbers.size())) {
        const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
        keys_.resize(static_cast<std::size_t>(rows));
        buildSortKeys(column, keys_);
        keys_.rank();
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
    const std::uint32_t ra = keys.ranks[static_cast<std::size_t>(a)];
    const std::uint32_t rb = keys.ranks[static_cast<std::size_t>(b)];
    if (ra != rb)
        return ra < rb;
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
