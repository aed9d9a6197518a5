#include "output/einvoice/cii_xml.h"

#include "runtime/utf8.h"

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

// The document written element by element, indented by depth.
class XmlWriter {
  public:
    void open(std::string_view name) {
        indent();
        out_ += "<" + std::string(name) + ">\n";
        ++depth_;
    }
    void close(std::string_view name) {
        --depth_;
        indent();
        out_ += "</" + std::string(name) + ">\n";
    }
    // An element holding text, with at most one attribute.
    void leaf(std::string_view name, std::string_view text, std::string_view attribute = {},
              std::string_view value = {}) {
        indent();
        out_ += "<" + std::string(name);
        if (!attribute.empty()) {
            out_ += " " + std::string(attribute) + "=\"";
            appendEscaped(out_, value);
            out_ += "\"";
        }
        out_ += ">";
        appendEscaped(out_, text);
        out_ += "</" + std::string(name) + ">\n";
    }
    // Only when there is text: the optional elements.
    void leafIfSet(std::string_view name, std::string_view text, std::string_view attribute = {},
                   std::string_view value = {}) {
        if (!text.empty()) leaf(name, text, attribute, value);
    }
    void date(std::string_view outer, std::string_view yyyymmdd) {
        open(outer);
        leaf("udt:DateTimeString", yyyymmdd, "format", "102");
        close(outer);
    }
    void raw(std::string_view text) { out_ += text; }
    std::string take() { return std::move(out_); }

  private:
    void indent() { out_.append(static_cast<size_t>(depth_) * 2, ' '); }
    std::string out_;
    int depth_ = 1; // inside the root element
};

void writeLine(XmlWriter& xml, const EInvoiceLine& line) {
    xml.open("ram:IncludedSupplyChainTradeLineItem");
    xml.open("ram:AssociatedDocumentLineDocument");
    xml.leaf("ram:LineID", std::to_string(line.row));
    xml.close("ram:AssociatedDocumentLineDocument");
    xml.open("ram:SpecifiedTradeProduct");
    xml.leaf("ram:Name", line.name);
    xml.close("ram:SpecifiedTradeProduct");
    // One unit at the item's amount; a credit (a negative amount) is minus
    // one unit at its price, as a price is never negative.
    const bool credit = line.amountCents < 0;
    xml.open("ram:SpecifiedLineTradeAgreement");
    xml.open("ram:NetPriceProductTradePrice");
    xml.leaf("ram:ChargeAmount", amountText(credit ? -line.amountCents : line.amountCents));
    xml.close("ram:NetPriceProductTradePrice");
    xml.close("ram:SpecifiedLineTradeAgreement");
    xml.open("ram:SpecifiedLineTradeDelivery");
    xml.leaf("ram:BilledQuantity", credit ? "-1" : "1", "unitCode", "C62");
    xml.close("ram:SpecifiedLineTradeDelivery");
    xml.open("ram:SpecifiedLineTradeSettlement");
    xml.open("ram:ApplicableTradeTax");
    xml.leaf("ram:TypeCode", "VAT");
    xml.leaf("ram:CategoryCode", line.vat.code);
    xml.leaf("ram:RateApplicablePercent", line.vat.ratePercent);
    xml.close("ram:ApplicableTradeTax");
    if (!line.date.empty()) {
        xml.open("ram:BillingSpecifiedPeriod");
        xml.date("ram:StartDateTime", line.date);
        xml.date("ram:EndDateTime", line.date);
        xml.close("ram:BillingSpecifiedPeriod");
    }
    xml.open("ram:SpecifiedTradeSettlementLineMonetarySummation");
    xml.leaf("ram:LineTotalAmount", amountText(line.amountCents));
    xml.close("ram:SpecifiedTradeSettlementLineMonetarySummation");
    xml.close("ram:SpecifiedLineTradeSettlement");
    xml.close("ram:IncludedSupplyChainTradeLineItem");
}

void writeAddress(XmlWriter& xml, const EInvoiceParty& party) {
    xml.open("ram:PostalTradeAddress");
    xml.leafIfSet("ram:PostcodeCode", party.postcode);
    xml.leafIfSet("ram:LineOne", party.street);
    xml.leafIfSet("ram:CityName", party.city);
    xml.leaf("ram:CountryID", party.country);
    xml.close("ram:PostalTradeAddress");
}

void writeParty(XmlWriter& xml, std::string_view element, const EInvoiceParty& party,
                bool withContact) {
    xml.open(element);
    xml.leafIfSet("ram:ID", party.id);
    xml.leaf("ram:Name", party.name);
    if (withContact && (!party.contactName.empty() || !party.contactPhone.empty() ||
                        !party.contactEmail.empty())) {
        xml.open("ram:DefinedTradeContact");
        xml.leafIfSet("ram:PersonName", party.contactName);
        if (!party.contactPhone.empty()) {
            xml.open("ram:TelephoneUniversalCommunication");
            xml.leaf("ram:CompleteNumber", party.contactPhone);
            xml.close("ram:TelephoneUniversalCommunication");
        }
        if (!party.contactEmail.empty()) {
            xml.open("ram:EmailURIUniversalCommunication");
            xml.leaf("ram:URIID", party.contactEmail);
            xml.close("ram:EmailURIUniversalCommunication");
        }
        xml.close("ram:DefinedTradeContact");
    }
    writeAddress(xml, party);
    if (!party.email.empty()) {
        xml.open("ram:URIUniversalCommunication");
        xml.leaf("ram:URIID", party.email, "schemeID", "EM");
        xml.close("ram:URIUniversalCommunication");
    }
    if (!party.vatId.empty()) {
        xml.open("ram:SpecifiedTaxRegistration");
        xml.leaf("ram:ID", party.vatId, "schemeID", "VA");
        xml.close("ram:SpecifiedTaxRegistration");
    }
    if (!party.taxNumber.empty()) {
        xml.open("ram:SpecifiedTaxRegistration");
        xml.leaf("ram:ID", party.taxNumber, "schemeID", "FC");
        xml.close("ram:SpecifiedTaxRegistration");
    }
    xml.close(element);
}

void writeSettlement(XmlWriter& xml, const EInvoice& invoice) {
    xml.open("ram:ApplicableHeaderTradeSettlement");
    xml.leaf("ram:PaymentReference", invoice.number);
    xml.leaf("ram:InvoiceCurrencyCode", invoice.currency);
    if (!invoice.iban.empty()) {
        xml.open("ram:SpecifiedTradeSettlementPaymentMeans");
        xml.leaf("ram:TypeCode", "58"); // SEPA credit transfer
        xml.open("ram:PayeePartyCreditorFinancialAccount");
        xml.leaf("ram:IBANID", invoice.iban);
        xml.close("ram:PayeePartyCreditorFinancialAccount");
        if (!invoice.bic.empty()) {
            xml.open("ram:PayeeSpecifiedCreditorFinancialInstitution");
            xml.leaf("ram:BICID", invoice.bic);
            xml.close("ram:PayeeSpecifiedCreditorFinancialInstitution");
        }
        xml.close("ram:SpecifiedTradeSettlementPaymentMeans");
    }
    for (const EInvoiceVatBreakdown& entry : invoice.vatBreakdown) {
        xml.open("ram:ApplicableTradeTax");
        xml.leaf("ram:CalculatedAmount", amountText(entry.taxCents));
        xml.leaf("ram:TypeCode", "VAT");
        xml.leafIfSet("ram:ExemptionReason", entry.exemptionReason);
        xml.leaf("ram:BasisAmount", amountText(entry.basisCents));
        xml.leaf("ram:CategoryCode", entry.vat.code);
        xml.leaf("ram:RateApplicablePercent", entry.vat.ratePercent);
        xml.close("ram:ApplicableTradeTax");
    }
    if (!invoice.paymentTerms.empty() || !invoice.dueDate.empty()) {
        xml.open("ram:SpecifiedTradePaymentTerms");
        xml.leafIfSet("ram:Description", invoice.paymentTerms);
        if (!invoice.dueDate.empty()) xml.date("ram:DueDateDateTime", invoice.dueDate);
        xml.close("ram:SpecifiedTradePaymentTerms");
    }
    xml.open("ram:SpecifiedTradeSettlementHeaderMonetarySummation");
    xml.leaf("ram:LineTotalAmount", amountText(invoice.lineTotalCents));
    xml.leaf("ram:TaxBasisTotalAmount", amountText(invoice.lineTotalCents));
    xml.leaf("ram:TaxTotalAmount", amountText(invoice.taxTotalCents), "currencyID",
             invoice.currency);
    xml.leaf("ram:GrandTotalAmount", amountText(invoice.grandTotalCents));
    xml.leaf("ram:DuePayableAmount", amountText(invoice.grandTotalCents));
    xml.close("ram:SpecifiedTradeSettlementHeaderMonetarySummation");
    xml.close("ram:ApplicableHeaderTradeSettlement");
}

} // namespace

std::string ciiXml(const EInvoice& invoice) {
    XmlWriter xml;
    xml.raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<rsm:CrossIndustryInvoice"
            " xmlns:rsm=\"urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100\""
            " xmlns:ram=\"urn:un:unece:uncefact:data:standard:"
            "ReusableAggregateBusinessInformationEntity:100\""
            " xmlns:qdt=\"urn:un:unece:uncefact:data:standard:QualifiedDataType:100\""
            " xmlns:udt=\"urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100\">\n");
    xml.open("rsm:ExchangedDocumentContext");
    if (invoice.xrechnung) {
        xml.open("ram:BusinessProcessSpecifiedDocumentContextParameter");
        xml.leaf("ram:ID", kBillingProcess);
        xml.close("ram:BusinessProcessSpecifiedDocumentContextParameter");
    }
    xml.open("ram:GuidelineSpecifiedDocumentContextParameter");
    xml.leaf("ram:ID", invoice.xrechnung ? kXRechnung : kEn16931);
    xml.close("ram:GuidelineSpecifiedDocumentContextParameter");
    xml.close("rsm:ExchangedDocumentContext");

    xml.open("rsm:ExchangedDocument");
    xml.leaf("ram:ID", invoice.number);
    xml.leaf("ram:TypeCode", invoice.typeCode);
    xml.date("ram:IssueDateTime", invoice.issueDate);
    if (!invoice.note.empty()) {
        xml.open("ram:IncludedNote");
        xml.leaf("ram:Content", invoice.note);
        xml.close("ram:IncludedNote");
    }
    xml.close("rsm:ExchangedDocument");

    xml.open("rsm:SupplyChainTradeTransaction");
    for (const EInvoiceLine& line : invoice.lines) writeLine(xml, line);
    xml.open("ram:ApplicableHeaderTradeAgreement");
    xml.leafIfSet("ram:BuyerReference", invoice.buyerReference);
    writeParty(xml, "ram:SellerTradeParty", invoice.seller, true);
    writeParty(xml, "ram:BuyerTradeParty", invoice.buyer, false);
    xml.close("ram:ApplicableHeaderTradeAgreement");
    xml.open("ram:ApplicableHeaderTradeDelivery");
    xml.open("ram:ActualDeliverySupplyChainEvent");
    xml.date("ram:OccurrenceDateTime", invoice.deliveryDate);
    xml.close("ram:ActualDeliverySupplyChainEvent");
    xml.close("ram:ApplicableHeaderTradeDelivery");
    writeSettlement(xml, invoice);
    xml.close("rsm:SupplyChainTradeTransaction");
    xml.raw("</rsm:CrossIndustryInvoice>\n");
    return xml.take();
}

} // namespace plaxet
