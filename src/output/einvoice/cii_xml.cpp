#include "output/einvoice/cii_xml.h"

#include "runtime/utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace plaxet {
namespace {

constexpr const char* kEn16931 = "urn:cen.eu:en16931:2017";
constexpr const char* kXRechnung =
    "urn:cen.eu:en16931:2017#compliant#urn:xeinkauf.de:kosit:xrechnung_3.0";
constexpr const char* kBillingProcess = "urn:fdc:peppol.eu:2017:poacc:billing:01:1.0";

// Text as XML character data: the markup characters as references, a
// carriage return kept as one (a reader would otherwise drop it), and the
// characters XML 1.0 cannot hold at all (other control characters,
// U+FFFE, U+FFFF) left out; bytes that are no UTF-8 become U+FFFD.
void appendEscaped(std::string& out, std::string_view text) {
    // Most texts are printable ASCII without markup: they go in whole.
    if (std::all_of(text.begin(), text.end(), [](char c) {
            return c >= 0x20 && c < 0x7F && c != '&' && c != '<' && c != '>' && c != '"';
        })) {
        out += text;
        return;
    }
    for (size_t at = 0; at < text.size();) {
        const uint32_t c = nextCodePoint(text, at);
        switch (c) {
        case '&':
            out += "&amp;";
            continue;
        case '<':
            out += "&lt;";
            continue;
        case '>':
            out += "&gt;";
            continue;
        case '"':
            out += "&quot;";
            continue;
        case '\r':
            out += "&#13;";
            continue;
        default:
            break;
        }
        if ((c < 0x20 && c != '\t' && c != '\n') || c == 0xFFFE || c == 0xFFFF) continue;
        appendUtf8(out, c);
    }
}

// "1234.50", "-0.07".
std::string amountText(int64_t cents) {
    const uint64_t magnitude =
        cents < 0 ? static_cast<uint64_t>(-(cents + 1)) + 1 : static_cast<uint64_t>(cents);
    std::string text = cents < 0 ? "-" : "";
    text += std::to_string(magnitude / 100) + ".";
    text += static_cast<char>('0' + magnitude / 10 % 10);
    text += static_cast<char>('0' + magnitude % 10);
    return text;
}

// The document as it is written, element by element, indented by depth,
// and handed on in pieces of about kPieceSize bytes.
constexpr size_t kPieceSize = 64 * 1024;
struct XmlText {
    std::string out; // what is not yet handed on
    int depth = 1;   // inside the root element
    const ContentSink* sink = nullptr;
    bool sinkFailed = false;
};

void handOn(XmlText& xml) {
    if (!xml.sinkFailed && !(*xml.sink)(xml.out)) xml.sinkFailed = true;
    xml.out.clear();
}

void indent(XmlText& xml) {
    xml.out.append(static_cast<size_t>(xml.depth) * 2, ' ');
}

// Each piece is appended where it goes: a long invoice's XML runs to
// megabytes, and a temporary text for every tag would double the work.
void appendTag(XmlText& xml, std::string_view opening, std::string_view name) {
    xml.out += opening;
    xml.out += name;
    xml.out += '>';
}

void open(XmlText& xml, std::string_view name) {
    indent(xml);
    appendTag(xml, "<", name);
    xml.out += '\n';
    ++xml.depth;
}

void close(XmlText& xml, std::string_view name) {
    --xml.depth;
    indent(xml);
    appendTag(xml, "</", name);
    xml.out += '\n';
}

// An element holding text, with at most one attribute.
void leaf(XmlText& xml, std::string_view name, std::string_view text,
          std::string_view attribute = {}, std::string_view value = {}) {
    indent(xml);
    xml.out += '<';
    xml.out += name;
    if (!attribute.empty()) {
        xml.out += ' ';
        xml.out += attribute;
        xml.out += "=\"";
        appendEscaped(xml.out, value);
        xml.out += '"';
    }
    xml.out += '>';
    appendEscaped(xml.out, text);
    appendTag(xml, "</", name);
    xml.out += '\n';
}

// Only when there is text: the optional elements.
void leafIfSet(XmlText& xml, std::string_view name, std::string_view text,
               std::string_view attribute = {}, std::string_view value = {}) {
    if (!text.empty()) leaf(xml, name, text, attribute, value);
}

// One element holding text, inside an element of its own.
void leafWithin(XmlText& xml, std::string_view outer, std::string_view name, std::string_view text,
                std::string_view attribute = {}, std::string_view value = {}) {
    open(xml, outer);
    leaf(xml, name, text, attribute, value);
    close(xml, outer);
}

void date(XmlText& xml, std::string_view outer, std::string_view yyyymmdd) {
    leafWithin(xml, outer, "udt:DateTimeString", yyyymmdd, "format", "102");
}

void writeLine(XmlText& xml, const EInvoiceLine& line) {
    open(xml, "ram:IncludedSupplyChainTradeLineItem");
    leafWithin(xml, "ram:AssociatedDocumentLineDocument", "ram:LineID", std::to_string(line.row));
    leafWithin(xml, "ram:SpecifiedTradeProduct", "ram:Name", line.name);
    // One unit at the item's amount; a credit (a negative amount) is minus
    // one unit at its price, as a price is never negative.
    const bool credit = line.amountCents < 0;
    open(xml, "ram:SpecifiedLineTradeAgreement");
    leafWithin(xml, "ram:NetPriceProductTradePrice", "ram:ChargeAmount",
               amountText(credit ? -line.amountCents : line.amountCents));
    close(xml, "ram:SpecifiedLineTradeAgreement");
    leafWithin(xml, "ram:SpecifiedLineTradeDelivery", "ram:BilledQuantity", credit ? "-1" : "1",
               "unitCode", "C62");
    open(xml, "ram:SpecifiedLineTradeSettlement");
    open(xml, "ram:ApplicableTradeTax");
    leaf(xml, "ram:TypeCode", "VAT");
    leaf(xml, "ram:CategoryCode", line.vat.code);
    leaf(xml, "ram:RateApplicablePercent", line.vat.ratePercent);
    close(xml, "ram:ApplicableTradeTax");
    if (!line.date.empty()) {
        open(xml, "ram:BillingSpecifiedPeriod");
        date(xml, "ram:StartDateTime", line.date);
        date(xml, "ram:EndDateTime", line.date);
        close(xml, "ram:BillingSpecifiedPeriod");
    }
    leafWithin(xml, "ram:SpecifiedTradeSettlementLineMonetarySummation", "ram:LineTotalAmount",
               amountText(line.amountCents));
    close(xml, "ram:SpecifiedLineTradeSettlement");
    close(xml, "ram:IncludedSupplyChainTradeLineItem");
}

void writeAddress(XmlText& xml, const EInvoiceParty& party) {
    open(xml, "ram:PostalTradeAddress");
    leafIfSet(xml, "ram:PostcodeCode", party.postcode);
    leafIfSet(xml, "ram:LineOne", party.street);
    leafIfSet(xml, "ram:CityName", party.city);
    leaf(xml, "ram:CountryID", party.country);
    close(xml, "ram:PostalTradeAddress");
}

void writeParty(XmlText& xml, std::string_view element, const EInvoiceParty& party,
                bool withContact) {
    open(xml, element);
    leafIfSet(xml, "ram:ID", party.id);
    leaf(xml, "ram:Name", party.name);
    if (withContact && (!party.contactName.empty() || !party.contactPhone.empty() ||
                        !party.contactEmail.empty())) {
        open(xml, "ram:DefinedTradeContact");
        leafIfSet(xml, "ram:PersonName", party.contactName);
        if (!party.contactPhone.empty()) {
            leafWithin(xml, "ram:TelephoneUniversalCommunication", "ram:CompleteNumber",
                       party.contactPhone);
        }
        if (!party.contactEmail.empty()) {
            leafWithin(xml, "ram:EmailURIUniversalCommunication", "ram:URIID", party.contactEmail);
        }
        close(xml, "ram:DefinedTradeContact");
    }
    writeAddress(xml, party);
    if (!party.email.empty()) {
        leafWithin(xml, "ram:URIUniversalCommunication", "ram:URIID", party.email, "schemeID",
                   "EM");
    }
    if (!party.vatId.empty()) {
        leafWithin(xml, "ram:SpecifiedTaxRegistration", "ram:ID", party.vatId, "schemeID", "VA");
    }
    if (!party.taxNumber.empty()) {
        leafWithin(xml, "ram:SpecifiedTaxRegistration", "ram:ID", party.taxNumber, "schemeID",
                   "FC");
    }
    close(xml, element);
}

void writeSettlement(XmlText& xml, const EInvoice& invoice) {
    open(xml, "ram:ApplicableHeaderTradeSettlement");
    leaf(xml, "ram:PaymentReference", invoice.number);
    leaf(xml, "ram:InvoiceCurrencyCode", invoice.currency);
    if (!invoice.iban.empty()) {
        open(xml, "ram:SpecifiedTradeSettlementPaymentMeans");
        leaf(xml, "ram:TypeCode", "58"); // SEPA credit transfer
        leafWithin(xml, "ram:PayeePartyCreditorFinancialAccount", "ram:IBANID", invoice.iban);
        if (!invoice.bic.empty()) {
            leafWithin(xml, "ram:PayeeSpecifiedCreditorFinancialInstitution", "ram:BICID",
                       invoice.bic);
        }
        close(xml, "ram:SpecifiedTradeSettlementPaymentMeans");
    }
    for (const EInvoiceVatBreakdown& entry : invoice.vatBreakdown) {
        open(xml, "ram:ApplicableTradeTax");
        leaf(xml, "ram:CalculatedAmount", amountText(entry.taxCents));
        leaf(xml, "ram:TypeCode", "VAT");
        leafIfSet(xml, "ram:ExemptionReason", entry.exemptionReason);
        leaf(xml, "ram:BasisAmount", amountText(entry.basisCents));
        leaf(xml, "ram:CategoryCode", entry.vat.code);
        leaf(xml, "ram:RateApplicablePercent", entry.vat.ratePercent);
        close(xml, "ram:ApplicableTradeTax");
    }
    if (!invoice.paymentTerms.empty() || !invoice.dueDate.empty()) {
        open(xml, "ram:SpecifiedTradePaymentTerms");
        leafIfSet(xml, "ram:Description", invoice.paymentTerms);
        if (!invoice.dueDate.empty()) date(xml, "ram:DueDateDateTime", invoice.dueDate);
        close(xml, "ram:SpecifiedTradePaymentTerms");
    }
    open(xml, "ram:SpecifiedTradeSettlementHeaderMonetarySummation");
    leaf(xml, "ram:LineTotalAmount", amountText(invoice.lineTotalCents));
    leaf(xml, "ram:TaxBasisTotalAmount", amountText(invoice.lineTotalCents));
    leaf(xml, "ram:TaxTotalAmount", amountText(invoice.taxTotalCents), "currencyID",
         invoice.currency);
    leaf(xml, "ram:GrandTotalAmount", amountText(invoice.grandTotalCents));
    leaf(xml, "ram:DuePayableAmount", amountText(invoice.grandTotalCents));
    close(xml, "ram:SpecifiedTradeSettlementHeaderMonetarySummation");
    close(xml, "ram:ApplicableHeaderTradeSettlement");
}

} // namespace

void writeCiiXml(const EInvoice& invoice, const ContentSink& sink) {
    XmlText xml;
    xml.sink = &sink;
    xml.out.reserve(kPieceSize + 8192); // a piece and the line that fills it
    xml.out += ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<rsm:CrossIndustryInvoice"
                " xmlns:rsm=\"urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100\""
                " xmlns:ram=\"urn:un:unece:uncefact:data:standard:"
                "ReusableAggregateBusinessInformationEntity:100\""
                " xmlns:qdt=\"urn:un:unece:uncefact:data:standard:QualifiedDataType:100\""
                " xmlns:udt=\"urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100\">\n");
    open(xml, "rsm:ExchangedDocumentContext");
    if (invoice.xrechnung) {
        leafWithin(xml, "ram:BusinessProcessSpecifiedDocumentContextParameter", "ram:ID",
                   kBillingProcess);
    }
    leafWithin(xml, "ram:GuidelineSpecifiedDocumentContextParameter", "ram:ID",
               invoice.xrechnung ? kXRechnung : kEn16931);
    close(xml, "rsm:ExchangedDocumentContext");

    open(xml, "rsm:ExchangedDocument");
    leaf(xml, "ram:ID", invoice.number);
    leaf(xml, "ram:TypeCode", invoice.typeCode);
    date(xml, "ram:IssueDateTime", invoice.issueDate);
    if (!invoice.note.empty()) {
        leafWithin(xml, "ram:IncludedNote", "ram:Content", invoice.note);
    }
    close(xml, "rsm:ExchangedDocument");

    open(xml, "rsm:SupplyChainTradeTransaction");
    for (const EInvoiceLine& line : invoice.lines) {
        if (xml.sinkFailed) return;
        writeLine(xml, line);
        if (xml.out.size() >= kPieceSize) handOn(xml);
    }
    open(xml, "ram:ApplicableHeaderTradeAgreement");
    leafIfSet(xml, "ram:BuyerReference", invoice.buyerReference);
    writeParty(xml, "ram:SellerTradeParty", invoice.seller, true);
    writeParty(xml, "ram:BuyerTradeParty", invoice.buyer, false);
    close(xml, "ram:ApplicableHeaderTradeAgreement");
    open(xml, "ram:ApplicableHeaderTradeDelivery");
    open(xml, "ram:ActualDeliverySupplyChainEvent");
    date(xml, "ram:OccurrenceDateTime", invoice.deliveryDate);
    close(xml, "ram:ActualDeliverySupplyChainEvent");
    close(xml, "ram:ApplicableHeaderTradeDelivery");
    writeSettlement(xml, invoice);
    close(xml, "rsm:SupplyChainTradeTransaction");
    xml.out += ("</rsm:CrossIndustryInvoice>\n");
    handOn(xml);
}

std::string ciiXml(const EInvoice& invoice) {
    std::string whole;
    writeCiiXml(invoice, [&whole](std::string_view piece) {
        whole += piece;
        return true;
    });
    return whole;
}

} // namespace plaxet
