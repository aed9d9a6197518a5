#include "form/form_file.h"

#include "form_builder.h"

#include "runtime/binary.h"
#include "runtime/codepage.h"
#include "runtime/file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace plaxet {
namespace {

using testing::isBlankItem;
using testing::setItem;
using testing::TempFolder;

// One item (no date, Paint, 10), addressee name A, Invoice, no notes.
FormDocument paintForm() {
    FormDocument form;
    setFormDate(form, "03/15/2024");
    form.addresseeLines[0] = "A";
    form.formType = kInvoice;
    setItem(form, 1, "", "Paint", "10");
    form.itemCount = 1;
    return form;
}

const std::string kPaintBytes = std::string("03/15/2024") +
                                std::string("\x01\x00\x00\x00", 4) + // one item
                                std::string("\x01\x00"
                                            "A",
                                            3) +                             // name
                                std::string("\x00\x00\x00\x00\x00\x00", 6) + // three empty lines
                                std::string("\x01\x00\x00\x00", 4) +         // Invoice
                                std::string("\x00\x00\x00\x00", 4) +         // date
                                std::string("\x05\x00\x00\x00"
                                            "Paint",
                                            9) +
                                std::string("\x02\x00\x00\x00"
                                            "10",
                                            6) +
                                std::string("\x00\x00\x00\x00", 4); // notes

void expectPaintForm(const FormDocument& form) {
    EXPECT_EQ(form.formDate, "03/15/2024");
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_EQ(form.addresseeLines[0], "A");
    EXPECT_EQ(form.addresseeLines[3], "");
    EXPECT_EQ(form.formType, kInvoice);
    EXPECT_EQ(itemAt(form, 1).date, "");
    EXPECT_EQ(itemAt(form, 1).description, "Paint");
    EXPECT_EQ(itemAt(form, 1).cost, "10");
    EXPECT_EQ(form.notes, "");
}

std::string contentOf(const std::string& path) {
    return readWholeFile(path).value_or("<none>");
}

// The Paint form with names that code page 1252 holds only in part, and the
// same form with the nearest texts that code page allows: its fields.
FormDocument namesForm() {
    FormDocument form = paintForm();
    form.addresseeLines[0] = "\xC5\x81ukasz D\xC4\x85"
                             "browski";                                       // Łukasz Dąbrowski
    form.addresseeLines[2] = "Caf\xC3\xA9";                                   // Café: fits
    setItem(form, 1, "", "\xE7\x8E\x8B\xE8\x8A\xB3 Nguy\xE1\xBB\x85n", "10"); // 王芳 Nguyễn
    form.notes = "\xC5\x9E\xC3\xBCkr\xC3\xBC";                                // Şükrü
    return form;
}

// What the fields hold: each text as the code page in use allows (its
// nearest letters differ from one system to another).
FormDocument nearestNamesForm() {
    FormDocument form = namesForm();
    const auto nearest = [](std::string& text) { text = fromCodePage(toCodePage(text).bytes); };
    for (std::string& line : form.addresseeLines) nearest(line);
    nearest(form.items[0].description);
    nearest(form.notes);
    return form;
}

void expectNames(const FormDocument& loaded, const FormDocument& expected) {
    EXPECT_EQ(loaded.addresseeLines, expected.addresseeLines);
    EXPECT_EQ(itemAt(loaded, 1).description, itemAt(expected, 1).description);
    EXPECT_EQ(loaded.notes, expected.notes);
    EXPECT_EQ(loaded.formDate, expected.formDate);
}

} // namespace

TEST(FormFile, TheFiftyByteExampleBothWays) {
    ASSERT_EQ(kPaintBytes.size(), 50u);
    EXPECT_EQ(formFileBytes(paintForm()), kPaintBytes);

    FormDocument form;
    form.addresseeLines = {"old", "old", "old", "old"};
    ASSERT_TRUE(readFormFileBytes(kPaintBytes, form).ok);
    expectPaintForm(form);
    // Bytes after the notes are not part of the form.
    FormDocument withTail;
    ASSERT_TRUE(readFormFileBytes(kPaintBytes + "leftover", withTail).ok);
    expectPaintForm(withTail);
}

TEST(FormFile, TextsOutsideTheCodePageAreKeptInTheExtensionBlock) {
    const std::string fields = formFileBytes(nearestNamesForm());
    ASSERT_EQ(fields.find("PLXUTF8"), std::string::npos)
        << "text the code page holds needs no block";
    EXPECT_NE(fields.find("\x10\0Lukasz Dabrowski", 0, 18), std::string::npos)
        << "the nearest letters";
    const std::string bytes = formFileBytes(namesForm());
    // The fields are what the code page allows, byte for byte; the block follows.
    ASSERT_GT(bytes.size(), fields.size());
    EXPECT_EQ(bytes.substr(0, fields.size()), fields);
    EXPECT_EQ(bytes.substr(fields.size(), 8), std::string("PLXUTF8\x1A", 8));

    FormDocument loaded;
    ASSERT_TRUE(readFormFileBytes(bytes, loaded).ok);
    expectNames(loaded, namesForm());

    // And through a saved file.
    TempFolder dir;
    const std::string path = dir.file("\xC5\x81\xC3\xB3"
                                      "d\xC5\xBA.plx"); // Łódź.plx
    ASSERT_EQ(saveFormFile(path, namesForm(), 1).outcome, SaveOutcome::Saved);
    FormDocument reloaded;
    ASSERT_TRUE(loadFormFile(path, reloaded).ok);
    expectNames(reloaded, namesForm());
}

TEST(FormFile, AStaleOrDamagedBlockIsPassedOverAndTheFieldsLoad) {
    const std::string fields = formFileBytes(nearestNamesForm());
    const std::string bytes = formFileBytes(namesForm());
    const size_t blockSize = bytes.size() - fields.size();
    const auto loadsFromFields = [&](const std::string& file, const std::string& what) {
        SCOPED_TRACE(what);
        FormDocument loaded;
        ASSERT_TRUE(readFormFileBytes(file, loaded).ok);
        expectNames(loaded, nearestNamesForm());
    };

    // An older program changed a letter of the name and saved over the file
    // in place: the block is whole, but written for other fields.
    std::string edited = bytes;
    const size_t name = edited.find("Lukasz");
    ASSERT_NE(name, std::string::npos);
    edited[name + 1] = 'o';
    FormDocument older;
    ASSERT_TRUE(readFormFileBytes(edited, older).ok);
    EXPECT_EQ(older.addresseeLines[0], "Lokasz Dabrowski");
    EXPECT_EQ(itemAt(older, 1).description, itemAt(nearestNamesForm(), 1).description);

    // It saved a shorter form: the rest of the old block is a stale tail.
    FormDocument shorter = paintForm();
    const std::string shortFields = formFileBytes(shorter);
    FormDocument stale;
    ASSERT_TRUE(readFormFileBytes(shortFields + bytes.substr(shortFields.size()), stale).ok);
    expectPaintForm(stale);

    // Any one damaged byte of the block, and a block cut short anywhere.
    for (size_t at = fields.size(); at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        loadsFromFields(damaged, "byte " + std::to_string(at - fields.size()) + " damaged");
    }
    for (size_t cut = 1; cut < blockSize; ++cut)
        loadsFromFields(bytes.substr(0, bytes.size() - cut), std::to_string(cut) + " bytes cut");
}

TEST(FormFile, SavesAndReloadsEveryStoredField) {
    TempFolder dir;
    FormDocument form = paintForm();
    setFormDate(form, "3/5/2024");
    form.addresseeLines = {"Jo Smith", "1 Main St", "Springfield, IL 62701", "555-0100"};
    form.formType = kEstimate;
    setItem(form, 2, "1/2/07", "Tax (8%)", " 12");
    form.itemCount = 2;
    form.notes = "first line\r\nsecond line\r\n";
    form.senderLines[0] = "never stored";
    form.amountPaid = "99";
    const std::string path = dir.file("smith.plx");

    const FormSaveResult saved = saveFormFile(path, form, form.itemCount);
    ASSERT_EQ(saved.outcome, SaveOutcome::Saved) << saved.error;

    FormDocument loaded;
    ASSERT_TRUE(loadFormFile(path, loaded).ok);
    EXPECT_EQ(loaded.formDate, "3/5/2024  ");
    EXPECT_EQ(loaded.addresseeLines, form.addresseeLines);
    EXPECT_EQ(loaded.formType, kEstimate);
    EXPECT_EQ(loaded.itemCount, 2);
    EXPECT_EQ(itemAt(loaded, 2).date, "1/2/07");
    EXPECT_EQ(itemAt(loaded, 2).description, "Tax (8%)");
    EXPECT_EQ(itemAt(loaded, 2).cost, " 12");
    EXPECT_EQ(loaded.notes, "first line\r\nsecond line\r\n");
    EXPECT_EQ(loaded.senderLines[0], "");
    EXPECT_EQ(loaded.amountPaid, "");
}

TEST(FormFile, LongAddresseeLinesSwitchToThirtyTwoBitLengths) {
    FormDocument form = paintForm();
    form.addresseeLines[1] = std::string(65534, 'b');
    form.addresseeLines[2] = std::string(65535, 'c');
    const std::string bytes = formFileBytes(form);
    const size_t address = 10 + 4 + 3;
    EXPECT_EQ(bytes.substr(address, 2), "\xFE\xFF");
    const size_t city = address + 2 + 65534;
    EXPECT_EQ(bytes.substr(city, 6), std::string("\xFF\xFF\xFF\xFF\x00\x00", 6));

    FormDocument loaded;
    ASSERT_TRUE(readFormFileBytes(bytes, loaded).ok);
    EXPECT_EQ(loaded.addresseeLines, form.addresseeLines);
    EXPECT_EQ(itemAt(loaded, 1).description, "Paint");
}

TEST(FormFile, AFormWithoutItemsIsNotSaved) {
    TempFolder dir;
    const std::string path = dir.file("kept.plx");
    ASSERT_TRUE(replaceFileContents(path, kPaintBytes).ok);

    FormDocument form;
    form.addresseeLines[0] = "Someone";
    form.notes = "filled in";
    EXPECT_EQ(saveFormFile(path, form, form.itemCount).outcome, SaveOutcome::NothingToSave);
    EXPECT_EQ(contentOf(path), kPaintBytes);

    // The rule looks at the count the editing commands kept, not at the one
    // the gathering step recounted: a form that had items is saved even when
    // they all turned out blank.
    EXPECT_EQ(saveFormFile(path, form, 3).outcome, SaveOutcome::Saved);
    FormDocument reloaded = paintForm();
    ASSERT_TRUE(loadFormFile(path, reloaded).ok);
    EXPECT_EQ(reloaded.itemCount, 0);
    EXPECT_EQ(reloaded.addresseeLines[0], "Someone");
    EXPECT_EQ(itemAt(reloaded, 1).description, ""); // items beyond the count are blank

    form.itemCount = 0;
    const std::string never = dir.file("never.plx");
    EXPECT_EQ(saveFormFile(never, form, 0).outcome, SaveOutcome::NothingToSave);
    EXPECT_FALSE(fileExists(never));
}

TEST(FormFile, SavingAShorterFormLeavesExactlyTheNewForm) {
    TempFolder dir;
    FormDocument three = paintForm();
    setItem(three, 2, "", "Brushes", "4.50");
    setItem(three, 3, "", "Ladder", "120");
    three.itemCount = 3;
    three.notes = "a long note that makes the old file longer";
    const std::string path = dir.file("shrink.plx");
    ASSERT_EQ(saveFormFile(path, three, three.itemCount).outcome, SaveOutcome::Saved);

    ASSERT_EQ(saveFormFile(path, paintForm(), 1).outcome, SaveOutcome::Saved);
    EXPECT_EQ(contentOf(path), kPaintBytes);
    FormDocument loaded = three;
    ASSERT_TRUE(loadFormFile(path, loaded).ok);
    expectPaintForm(loaded);
    EXPECT_EQ(itemAt(loaded, 2).description, "");
}

TEST(FormFile, AFailedSaveKeepsTheOldFileAndSaysWhy) {
    TempFolder dir;
    FormSaveResult result = saveFormFile(dir.file("missing-folder/form.plx"), paintForm(), 1);
    EXPECT_EQ(result.outcome, SaveOutcome::Failed);
    EXPECT_NE(result.error.find("missing-folder"), std::string::npos) << result.error;

    const std::string locked = dir.file("locked.plx");
    ASSERT_TRUE(replaceFileContents(locked, "old bytes").ok);
    ASSERT_TRUE(setAttributes(locked, kAttrReadOnly));
    result = saveFormFile(locked, paintForm(), 1);
    EXPECT_EQ(result.outcome, SaveOutcome::Failed);
    EXPECT_NE(result.error.find("read-only"), std::string::npos) << result.error;
    EXPECT_EQ(contentOf(locked), "old bytes");

    EXPECT_EQ(saveFormFile("", paintForm(), 1).outcome, SaveOutcome::Failed);
}

TEST(FormFile, AFileCutShortLoadsAsFarAsItGoes) {
    // Every prefix of a form file loads without a fault.
    for (size_t length = 0; length < kPaintBytes.size(); ++length) {
        FormDocument form;
        EXPECT_TRUE(readFormFileBytes(kPaintBytes.substr(0, length), form).ok) << length;
        EXPECT_LE(form.itemCount, 1);
    }

    FormDocument empty;
    empty.addresseeLines = {"n", "a", "c", "p"};
    empty.formType = kReceipt;
    ASSERT_TRUE(readFormFileBytes("", empty).ok);
    EXPECT_EQ(empty.formDate, std::string(10, ' '));
    EXPECT_EQ(empty.itemCount, 0);
    EXPECT_EQ(empty.formType, 0); // a missing number reads as 0
    EXPECT_EQ(empty.addresseeLines[0], "n");
    EXPECT_EQ(empty.notes, "");

    // Cut after the name: the lines that lie beyond the end keep their values.
    FormDocument cut;
    cut.addresseeLines = {"n", "a", "c", "p"};
    ASSERT_TRUE(readFormFileBytes(kPaintBytes.substr(0, 17), cut).ok);
    EXPECT_EQ(cut.addresseeLines[0], "A");
    EXPECT_EQ(cut.addresseeLines[1], "a");
    EXPECT_EQ(cut.addresseeLines[3], "p");
    EXPECT_EQ(cut.formType, 0);
    EXPECT_EQ(cut.itemCount, 0);

    // Cut inside the description: the item keeps the bytes that are there.
    FormDocument partial;
    ASSERT_TRUE(readFormFileBytes(kPaintBytes.substr(0, 37), partial).ok);
    EXPECT_EQ(partial.itemCount, 1);
    EXPECT_EQ(itemAt(partial, 1).description, "Pa");
    EXPECT_EQ(itemAt(partial, 1).cost, "");
    EXPECT_EQ(partial.formType, kInvoice);

    // Cut inside the item count: the missing bytes are zeros.
    FormDocument count;
    ASSERT_TRUE(readFormFileBytes(kPaintBytes.substr(0, 11), count).ok);
    EXPECT_EQ(count.itemCount, 0);
    EXPECT_EQ(count.formDate, "03/15/2024");
}

TEST(FormFile, DamagedCountsAndLengthsAreMetSafely) {
    // A negative count or length is refused and the record stays as it was.
    std::string negativeCount = kPaintBytes;
    negativeCount.replace(10, 4, std::string("\xFF\xFF\xFF\xFF", 4));
    FormDocument form = paintForm();
    form.notes = "mine";
    FormFileResult result = readFormFileBytes(negativeCount, form);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("item count is negative"), std::string::npos) << result.error;
    EXPECT_EQ(form.notes, "mine");
    FormDocument unchanged = form;
    unchanged.notes = paintForm().notes;
    expectPaintForm(unchanged);

    std::string negativeLength = kPaintBytes;
    negativeLength.replace(31, 4, std::string("\x00\x00\x00\x80", 4));
    result = readFormFileBytes(negativeLength, form);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("description of item 1"), std::string::npos) << result.error;
    EXPECT_EQ(form.notes, "mine");

    std::string negativeNotes = kPaintBytes;
    negativeNotes.replace(46, 4, std::string("\xFE\xFF\xFF\xFF", 4));
    EXPECT_FALSE(readFormFileBytes(negativeNotes, form).ok);

    // A huge count loads only the items the file holds; the list stays small.
    std::string hugeCount = kPaintBytes;
    hugeCount.replace(10, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    FormDocument huge;
    ASSERT_TRUE(readFormFileBytes(hugeCount, huge).ok);
    // The notes' four bytes make a second, blank item; nothing lies beyond.
    EXPECT_EQ(huge.itemCount, 2);
    EXPECT_EQ(huge.items.size(), 2u);
    EXPECT_EQ(itemAt(huge, 1).description, "Paint");
    EXPECT_TRUE(isBlankItem(huge, 2));

    // Huge lengths get the bytes that are there.
    std::string hugeLength = kPaintBytes;
    hugeLength.replace(31, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    ASSERT_TRUE(readFormFileBytes(hugeLength, huge).ok);
    EXPECT_EQ(itemAt(huge, 1).description, kPaintBytes.substr(35));

    std::string hugeName =
        kPaintBytes.substr(0, 14) + std::string("\xFF\xFF\xFF\xFF\xFF\xFF", 6) + "rest of the file";
    ASSERT_TRUE(readFormFileBytes(hugeName, huge).ok);
    EXPECT_EQ(huge.addresseeLines[0], "rest of the file");
}

TEST(FormFile, LargeFilesLoadWholeAndReplaceEveryEarlierItem) {
    FormDocument big;
    const int32_t count = 250;
    big.itemCount = count;
    for (int32_t i = 1; i <= count; ++i) setItem(big, i, "", "item " + std::to_string(i), "1");
    const std::string bytes = formFileBytes(big);

    FormDocument form;
    setItem(form, 300, "stale", "stale", "stale");
    ASSERT_TRUE(readFormFileBytes(bytes, form).ok);
    EXPECT_EQ(form.itemCount, count);
    EXPECT_EQ(itemAt(form, 1).description, "item 1");
    EXPECT_EQ(itemAt(form, 100).description, "item 100");
    EXPECT_EQ(itemAt(form, 250).description, "item 250");
    EXPECT_EQ(itemAt(form, 251).description, "");

    // Loading a small form afterwards blanks the items beyond its count.
    ASSERT_TRUE(readFormFileBytes(kPaintBytes, form).ok);
    EXPECT_EQ(form.itemCount, 1);
    EXPECT_EQ(itemAt(form, 2).description, "");
    EXPECT_EQ(itemAt(form, 250).description, "");
    EXPECT_EQ(itemAt(form, 300).description, "");
}

TEST(FormFile, MissingOrUnreadableFilesAreReported) {
    TempFolder dir;
    FormDocument form;
    const FormFileResult result = loadFormFile(dir.file("absent.plx"), form);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("absent.plx"), std::string::npos);
}

} // namespace plaxet

namespace plaxet {
namespace {

// The fields kept only in the extension block, with a name the code page
// cannot hold among them.
void setInvoiceFields(FormDocument& form) {
    form.number = "2024-0017";
    form.dueDate = "04/14/2024";
    form.deliveryDate = "03/12/2024";
    form.buyer = {"DE",
                  "10115",
                  "Berlin",
                  "Stra\xC3\x9F"
                  "e 1 \xE7\x8E\x8B",
                  "DE123456789",
                  "PO-77",
                  "a@example.org"};
}

// What a reader that knows only the classic entry kinds takes from a file:
// the fields, and the first block when every entry in it is of a kind it
// knows (1 to 6); bytes after that block it never looks at.
bool olderReaderTakesFirstBlock(std::string_view bytes, size_t fieldsSize) {
    ByteReader in{bytes, fieldsSize + 18};
    const uint32_t count = readUInt32(in);
    for (uint32_t n = 0; n < count; ++n) {
        const auto kind = static_cast<unsigned char>(readAvailable(in, 1)[0]);
        readUInt32(in);
        const uint32_t length = readUInt32(in);
        readAvailable(in, length);
        if (kind < 1 || kind > 6) return false;
    }
    return !in.pastEnd;
}

} // namespace

TEST(FormFile, NumberDatesAndBuyerTravelInABlockOfTheirOwnThatOlderReadersPassOver) {
    // Only the new fields: the fields are the classic file, byte for byte,
    // and the one block after them is one an older reader refuses whole, so
    // it opens the form from its classic fields.
    FormDocument numbered = paintForm();
    setInvoiceFields(numbered);
    const std::string bytes = formFileBytes(numbered);
    ASSERT_GT(bytes.size(), kPaintBytes.size());
    EXPECT_EQ(bytes.substr(0, kPaintBytes.size()), kPaintBytes);
    EXPECT_FALSE(olderReaderTakesFirstBlock(bytes, kPaintBytes.size()));
    FormDocument older;
    ASSERT_TRUE(readFormFileBytes(bytes.substr(0, kPaintBytes.size()), older).ok);
    expectPaintForm(older);

    FormDocument loaded;
    ASSERT_TRUE(readFormFileBytes(bytes, loaded).ok);
    expectPaintForm(loaded);
    EXPECT_EQ(loaded.number, numbered.number);
    EXPECT_EQ(loaded.dueDate, numbered.dueDate);
    EXPECT_EQ(loaded.deliveryDate, numbered.deliveryDate);
    EXPECT_EQ(loaded.buyer, numbered.buyer);

    // With names the code page lacks: the file begins with exactly what the
    // form without the new fields was (fields and exact texts' block), which
    // an older reader takes whole; the new fields' block follows it.
    FormDocument both = namesForm();
    const std::string classic = formFileBytes(both);
    setInvoiceFields(both);
    const std::string bothBytes = formFileBytes(both);
    ASSERT_GT(bothBytes.size(), classic.size());
    EXPECT_EQ(bothBytes.substr(0, classic.size()), classic);
    EXPECT_TRUE(olderReaderTakesFirstBlock(bothBytes, formFileBytes(nearestNamesForm()).size()));

    TempFolder dir;
    const std::string path = dir.file("both.plx");
    ASSERT_EQ(saveFormFile(path, both, 1).outcome, SaveOutcome::Saved);
    FormDocument reloaded;
    reloaded.number = "stale";
    ASSERT_TRUE(loadFormFile(path, reloaded).ok);
    expectNames(reloaded, both);
    EXPECT_EQ(reloaded.number, both.number);
    EXPECT_EQ(reloaded.buyer, both.buyer);

    // A form without them loads with none, whatever the record held before.
    ASSERT_TRUE(readFormFileBytes(kPaintBytes, reloaded).ok);
    EXPECT_EQ(reloaded.number, "");
    EXPECT_EQ(reloaded.buyer, Buyer());

    // A damaged second block is passed over; the first still counts.
    std::string damaged = bothBytes;
    damaged[damaged.size() - 6] ^= 0x20;
    FormDocument partly;
    ASSERT_TRUE(readFormFileBytes(damaged, partly).ok);
    expectNames(partly, namesForm());
    EXPECT_EQ(partly.number, "");
}

} // namespace plaxet
