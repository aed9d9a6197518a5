// The rules of invoices the tax law accepts: the codes, the number patterns
// and the counters, the due date, and the business details file.
#include "form/business_details.h"
#include "form/invoice_dates.h"
#include "form/number_pattern.h"
#include "form/numbering.h"
#include "form/tax_codes.h"

#include "runtime/file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::TempFolder;

TEST(TaxCodes, IbanCheckDigits) {
    const struct {
        const char* iban;
        bool valid;
    } cases[] = {
        {"DE89 3704 0044 0532 0130 00", true},
        {"DE89370400440532013000", true},
        {"GB82 WEST 1234 5698 7654 32", true},
        {"FR14 2004 1010 0505 0001 3M02 606", true},
        {"NO93 8601 1117 947", true},           // the shortest in use
        {"DE88 3704 0044 0532 0130 00", false}, // check digits off by one
        {"DE89 3704 0044 0532 0130 01", false}, // one digit mistyped
        {"DE89 3704 0044 0523 0130 00", false}, // two digits swapped
        {"GB82 west 1234 5698 7654 32", false}, // small letters
        {"XX89 3704 0044 0532 0130 00", false}, // no such country
        {"DE8937040044", false},                // too short
        {"DEAB 3704 0044 0532 0130 00", false}, // letters for check digits
        {"DE89-3704-0044-0532-0130-00", false}, // dashes
    };
    for (const auto& c : cases)
        EXPECT_EQ(ibanProblem(c.iban).empty(), c.valid) << c.iban << ": " << ibanProblem(c.iban);
}

TEST(TaxCodes, OnlyRealCountryAndCurrencyCodes) {
    for (const char* code : {"DE", "AT", "GR", "GB", "US", "ZW", "AD", "SS", "BQ"})
        EXPECT_TRUE(isCountryCode(code)) << code;
    for (const char* code : {"EL", "UK", "XK", "EU", "de", "D", "DEU", "", "A1"})
        EXPECT_FALSE(isCountryCode(code)) << code;
    EXPECT_EQ(countryCodeProblem(""), "") << "an empty field is not set";
    EXPECT_EQ(countryCodeProblem("AT"), "");
    EXPECT_EQ(countryCodeProblem("at"),
              "\"at\" is not a two-letter country code (ISO 3166-1, in capitals)");
    for (const char* code : {"EUR", "USD", "CHF", "PLN", "AED", "ZWG", "XOF", "GBP", "SEK"})
        EXPECT_TRUE(isCurrencyCode(code)) << code;
    for (const char* code : {"DEM", "HRK", "XAU", "XXX", "XTS", "eur", "EU", "EURO", ""})
        EXPECT_FALSE(isCurrencyCode(code)) << code;
}

TEST(NumberPattern, PlaceholdersFromTheFormDateAndTheCounter) {
    const CivilDate march{2024, 3, 15};
    const struct {
        const char* pattern;
        int64_t counter;
        const char* number;
        const char* period;
    } cases[] = {
        {"{YYYY}-{####}", 17, "2024-0017", "2024"},
        {"INV-{YY}{MM}-{###}", 5, "INV-2403-005", "2024-03"},
        {"{#}", 12345, "12345", ""}, // at least one digit, more when needed
        {"R{##}/{YYYY}", 100, "R100/2024", "2024"},
        {"{MM}-{##}", 1, "03-01", "2024-03"}, // a month without a year is still told apart by year
        {"No. {####}", 1, "No. 0001", ""},
        {"{YY}{####}", 9, "240009", "2024"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(patternProblem(c.pattern), "") << c.pattern;
        EXPECT_EQ(formatNumber(c.pattern, march, c.counter), c.number) << c.pattern;
        EXPECT_EQ(seriesPeriod(c.pattern, march), c.period) << c.pattern;
    }
    const struct {
        const char* pattern;
        const char* named;
    } refused[] = {
        {"{YYYY}-{N}", "{N}"},
        {"{yyyy}-{###}", "{yyyy}"},
        {"{DD}-{###}", "{DD}"},
        {"{YYYY}-{###", "not closed"},
        {"{YYYY}-{{###}}", "not closed"},
        {"{YYYY}", "no counter"},
        {"{##}-{##}", "more than one counter"},
        {"{###################}", "more than 18 digits"},
    };
    for (const auto& r : refused)
        EXPECT_NE(patternProblem(r.pattern).find(r.named), std::string::npos)
            << r.pattern << ": " << patternProblem(r.pattern);
}

TEST(InvoiceDates, DueDateFromPaymentDaysAndItsChecks) {
    const struct {
        const char* formDate;
        int32_t days;
        const char* due;
    } cases[] = {
        {"03/15/2024", 30, "04/14/2024"}, {"12/20/2024", 14, "01/03/2025"},
        {"02/15/2024", 14, "02/29/2024"}, {"02/15/2023", 14, "03/01/2023"},
        {"01/31/2024", 0, "01/31/2024"},  {"12/31/1999", 366, "12/31/2000"},
    };
    for (const auto& c : cases) {
        FormDocument form;
        setFormDate(form, c.formDate);
        EXPECT_TRUE(fillDueDate(form, c.days)) << c.formDate;
        EXPECT_EQ(form.dueDate, c.due) << c.formDate;
        EXPECT_EQ(invoiceDatesProblem(form), "");
    }
    FormDocument form;
    setFormDate(form, "03/15/2024");
    form.dueDate = "03/20/2024"; // typed: kept
    EXPECT_FALSE(fillDueDate(form, 30));
    EXPECT_EQ(form.dueDate, "03/20/2024");
    form.dueDate.clear();
    EXPECT_FALSE(fillDueDate(form, std::nullopt));
    setFormDate(form, "");
    EXPECT_FALSE(fillDueDate(form, 30));
    EXPECT_EQ(form.dueDate, "");

    setFormDate(form, "03/15/2024");
    form.dueDate = "03/14/2024";
    EXPECT_NE(invoiceDatesProblem(form).find("before the form date"), std::string::npos);
    form.dueDate = "02/30/2024";
    EXPECT_NE(invoiceDatesProblem(form).find("not a date"), std::string::npos);
    form.dueDate = "";
    form.deliveryDate = "soon";
    EXPECT_NE(invoiceDatesProblem(form).find("delivery date"), std::string::npos);
}

TEST(Numbering, SeriesStartAgainEachYearAndNeverRepeat) {
    TempFolder dir;
    const std::string numbers = dir.file("numbers.json");
    const std::string pattern = "{YYYY}-{###}";
    const auto take = [&](CivilDate date, const std::string& form) {
        const NumberResult taken = takeNextNumber(numbers, kInvoice, pattern, date, form);
        EXPECT_TRUE(taken.ok) << taken.error;
        return taken.number;
    };
    EXPECT_EQ(take({2024, 12, 30}, "a.plx"), "2024-001");
    EXPECT_EQ(take({2024, 12, 31}, "b.plx"), "2024-002");
    EXPECT_EQ(take({2025, 1, 2}, "c.plx"), "2025-001");   // a new year starts again
    EXPECT_EQ(take({2024, 12, 31}, "d.plx"), "2024-003"); // a late form continues its year
    EXPECT_EQ(take({2025, 1, 3}, "e.plx"), "2025-002");
    // Each form type is a series of its own.
    EXPECT_EQ(takeNextNumber(numbers, kReceipt, pattern, {2025, 1, 3}, "r.plx").number, "2025-001");

    // A number typed on a form is recorded, and the counter passes over it.
    EXPECT_TRUE(claimNumber(numbers, kInvoice, "2025-003", "typed.plx").ok);
    EXPECT_EQ(take({2025, 1, 4}, "f.plx"), "2025-004");
    // The same form may be numbered again with its own number, which leaves
    // the record untouched (the blanks after it show it was not written
    // again); another form may not.
    const std::string record = readWholeFile(numbers).value_or("") + "  \n";
    ASSERT_TRUE(replaceFileContents(numbers, record).ok);
    EXPECT_TRUE(claimNumber(numbers, kInvoice, "2025-003", "typed.plx").ok);
    EXPECT_EQ(readWholeFile(numbers), record);
    const NumberResult twice = claimNumber(numbers, kInvoice, "2025-003", "copy.plx");
    EXPECT_FALSE(twice.ok);
    EXPECT_EQ(twice.usedBy, "typed.plx");
    EXPECT_TRUE(claimNumber(numbers, kInvoice, "2025-003", "copy.plx", true).ok);
    EXPECT_FALSE(takeNextNumber(numbers, kNoType, pattern, {2025, 1, 4}, "x.plx").ok);
}

TEST(Numbering, ADamagedCounterFileTakesNoNumberAndIsLeftAsItWas) {
    TempFolder dir;
    const std::string numbers = dir.file("numbers.json");
    const struct {
        const char* content;
        const char* named;
    } cases[] = {
        {"{\"counters\": {\"invoice\": {\"2024\": 41}", "not valid JSON"},
        {"[]", "one object"},
        {"{\"counters\": {\"invoice\": {\"2024\": -1}}}", "\"2024\" must be a counter"},
        {"{\"counters\": {\"invoice\": {\"2024\": \"41\"}}}", "\"2024\" must be a counter"},
        {"{\"counters\": {\"invoice\": 41}}", "\"invoice\" must be an object"},
        {"{\"used\": {\"invoice\": {\"2024-041\": 1}}}", "the form file"},
        {"", "not valid JSON"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(replaceFileContents(numbers, c.content).ok);
        const NumberResult taken =
            takeNextNumber(numbers, kInvoice, "{YYYY}-{###}", {2024, 5, 1}, "a.plx");
        EXPECT_FALSE(taken.ok) << c.content;
        EXPECT_EQ(taken.number, "");
        EXPECT_NE(taken.error.find(numbers), std::string::npos) << taken.error;
        EXPECT_NE(taken.error.find(c.named), std::string::npos) << taken.error;
        EXPECT_NE(taken.error.find("never started again from 1"), std::string::npos);
        EXPECT_EQ(readWholeFile(numbers), std::string(c.content));
    }
}

TEST(BusinessDetails, ReadCheckedAndWrittenBackWithUnknownKeys) {
    TempFolder dir;
    const std::string path = dir.file("business.json");
    BusinessDetails details;
    const BusinessFileResult missing = loadBusinessDetails(path, details);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.missing);

    ASSERT_TRUE(replaceFileContents(path, R"({"name": "Berg GmbH", "country": "DE",
        "iban": "DE89 3704 0044 0532 0130 00", "paymentDays": 14, "vat": "exempt",
        "exemptionReason": "No VAT under the small business rule.",
        "numbers": {"invoice": "{YYYY}-{####}", "later": "kept"},
        "laterKey": [1, 2]})")
                    .ok);
    ASSERT_TRUE(loadBusinessDetails(path, details).ok);
    EXPECT_EQ(details.name, "Berg GmbH");
    EXPECT_EQ(details.paymentDays, 14);
    EXPECT_EQ(numberPatternFor(details, kInvoice), "{YYYY}-{####}");
    EXPECT_EQ(numberPatternFor(details, kReceipt), "");
    EXPECT_TRUE(businessDetailsProblems(details).empty());

    details.city = "K\xC3\xB6ln"; // Köln
    details.paymentDays.reset();
    ASSERT_TRUE(saveBusinessDetails(details, path).ok);
    BusinessDetails again;
    ASSERT_TRUE(loadBusinessDetails(path, again).ok);
    EXPECT_EQ(again.city, "K\xC3\xB6ln");
    EXPECT_FALSE(again.paymentDays);
    const std::string written = readWholeFile(path).value_or("");
    EXPECT_NE(written.find("\"laterKey\""), std::string::npos) << written;
    EXPECT_NE(written.find("\"later\": \"kept\""), std::string::npos) << written;

    // Each fault named by its key.
    details.country = "EL";
    details.currency = "EURO";
    details.iban = "DE88 3704 0044 0532 0130 00";
    details.vat = "reduced";
    details.numbers[2] = "E-{N}";
    details.paymentDays = -3;
    const std::vector<std::string> problems = businessDetailsProblems(details);
    ASSERT_EQ(problems.size(), 6u);
    for (const char* key :
         {"\"country\"", "\"currency\"", "\"iban\"", "\"vat\"", "\"numbers\"", "\"paymentDays\""}) {
        bool named = false;
        for (const std::string& problem : problems) named = named || problem.find(key) == 0;
        EXPECT_TRUE(named) << key;
    }
    // Payment days typed in a box: digits only, or nothing.
    std::optional<int32_t> days = 7;
    EXPECT_TRUE(readPaymentDays("30", days));
    EXPECT_EQ(days, 30);
    EXPECT_TRUE(readPaymentDays("0", days));
    EXPECT_EQ(days, 0);
    EXPECT_TRUE(readPaymentDays("2147483647", days));
    EXPECT_EQ(days, 2147483647);
    for (const char* typed :
         {"-3", "+3", " 14", "14 ", "1.5", "ten", "2147483648", "99999999999"}) {
        days = 7;
        EXPECT_FALSE(readPaymentDays(typed, days)) << typed;
        EXPECT_EQ(days, 7) << typed;
    }
    EXPECT_TRUE(readPaymentDays("", days));
    EXPECT_FALSE(days);

    details = BusinessDetails();
    details.vat = "exempt";
    EXPECT_EQ(businessDetailsProblems(details).size(), 1u) << "an exempt business says why";

    // A damaged file names itself and what is wrong, and changes nothing.
    for (const char* content : {"{\"name\": 7}", "{\"paymentDays\": \"14\"}",
                                "{\"numbers\": [\"x\"]}", "{\"name\": ", "\"text\""}) {
        ASSERT_TRUE(replaceFileContents(path, content).ok);
        BusinessDetails kept = again;
        const BusinessFileResult damaged = loadBusinessDetails(path, kept);
        EXPECT_FALSE(damaged.ok) << content;
        EXPECT_FALSE(damaged.missing);
        EXPECT_EQ(damaged.error.find(path + " is damaged"), 0u) << damaged.error;
        EXPECT_EQ(kept.city, again.city);
    }
}

} // namespace
} // namespace plaxet
