#include "form/item_sums.h"

#include "runtime/numbers.h"
#include "runtime/text.h"

#include <cstddef>
#include <string>
#include <utility>

namespace plaxet {
namespace {

// The two variants of the item pass differ only in these two points.
enum class SubtotalText { Money, General };
enum class RateSource { TrimmedLowerCase, AsStored };

std::string normalisedDescription(std::string_view description) {
    return LCase(Trim(description));
}

// What a row adds to the sums: the amount it prints, in whole cents, so that
// the subtotals, the total and a receipt's balance are sums of what the rows
// show. The value keeps extended precision until it is added to a sum.
long double printedAmount(long double amount) {
    return Val(Format(static_cast<double>(amount)));
}

// Sums the items and makes the cost text of computed rows. Every sum and
// product is rounded to double when it is stored.
ItemSums sumItems(const FormDocument& form, SubtotalText subtotalText, RateSource rateSource) {
    ItemSums sums;
    double runningSubtotal = 0;
    const size_t count = countedItems(form);
    sums.costs.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const std::string& description = form.items[i].description;
        std::string cost = form.items[i].cost;
        switch (rowKindOf(description)) {
        case RowKind::Subtotal:
            cost = subtotalText == SubtotalText::Money ? Format(runningSubtotal)
                                                       : Str(runningSubtotal);
            runningSubtotal = 0;
            break;
        case RowKind::Tax: {
            const long double rate = rateSource == RateSource::AsStored
                                         ? taxRateOf(description)
                                         : taxRateOf(normalisedDescription(description));
            long double tax = 0;
            if (rate != 0) {
                const double base = runningSubtotal != 0 ? runningSubtotal : sums.total;
                const double computed = static_cast<double>(base * rate);
                cost = Str(computed); // the record keeps the general number text
                tax = printedAmount(computed);
            } else {
                // No rate stated: the typed cost is the tax amount.
                tax = printedAmount(Val(cost));
            }
            runningSubtotal = static_cast<double>(runningSubtotal + tax);
            sums.total = static_cast<double>(sums.total + tax);
            break;
        }
        case RowKind::Plain: {
            const long double value = printedAmount(Val(cost));
            runningSubtotal = static_cast<double>(runningSubtotal + value);
            sums.total = static_cast<double>(sums.total + value);
            break;
        }
        }
        sums.costs.push_back(std::move(cost));
    }
    return sums;
}

} // namespace

long double taxRateOf(std::string_view description) {
    const std::string field = ParseAny(description, ",()", 2);
    const long double rate = Val(field);
    if (!field.empty() && field.back() == '%') return static_cast<double>(rate / 100);
    return rate;
}

ItemSums screenSums(const FormDocument& form) {
    return sumItems(form, SubtotalText::General, RateSource::AsStored);
}

ItemSums documentSums(const FormDocument& form) {
    return sumItems(form, SubtotalText::Money, RateSource::TrimmedLowerCase);
}

FormDocument withComputedCosts(FormDocument form, const ItemSums& sums) {
    for (size_t i = 0; i < sums.costs.size() && i < form.items.size(); ++i)
        form.items[i].cost = sums.costs[i];
    return form;
}

} // namespace plaxet
