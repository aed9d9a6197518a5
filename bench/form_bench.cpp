// The main product's cost as forms grow: Create Files (totals and the three
// documents written to disk), the form file's save and load, and, as the
// yardstick, the same bytes written with one plain write.
#include "form/form_document.h"
#include "form/form_file.h"
#include "output/create_files.h"
#include "output/document_kinds.h"
#include "output/html_writer.h"
#include "output/pdf/layout.h"
#include "output/pdf/writer.h"
#include "output/rtf_writer.h"
#include "output/totals.h"
#include "runtime/file.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace plaxet {
namespace {

// A folder on the disk for the benchmark's files (PLAXET_BENCH_DIR, or the
// system's temporary folder), removed at the end.
struct BenchFolder {
    std::filesystem::path path;
    BenchFolder() {
        const char* chosen = std::getenv("PLAXET_BENCH_DIR");
        path = std::filesystem::path(chosen ? chosen : std::filesystem::temp_directory_path()) /
               ("plaxet-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~BenchFolder() {
        std::error_code ignored;
        for (auto& entry : std::filesystem::directory_iterator(path, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return (path / name).string(); }
};

const BenchFolder& folder() {
    static const BenchFolder instance;
    return instance;
}

// An invoice of n items: dated plain items, with a subtotal row every 20
// items and a tax row after each subtotal.
FormDocument invoiceOf(int64_t n) {
    FormDocument form;
    form.senderLines = {
        "Hill Paint Co.", "215 Commerce Street", "Springfield, IL 62701", "(217) 555-0100", "", ""};
    form.addresseeLines = {"Margaret Ellison", "42 Orchard Lane", "Springfield, IL 62704",
                           "(217) 555-0148"};
    setFormDate(form, "03/15/2024");
    form.formType = kInvoice;
    form.notes = "Thank you for your business.\r\nPayment is due within 30 days.";
    for (int64_t i = 1; i <= n; ++i) {
        Item& item = editItem(form, ++form.itemCount);
        if (i % 20 == 19) {
            item.description = "Subtotal";
        } else if (i % 20 == 0) {
            item.description = "Tax (8.25%)";
        } else {
            item.date = "03/04/2024";
            item.description = "Interior paint & brushes <" + std::to_string(i) + ">";
            item.cost = std::to_string(10 + i % 90) + ".50";
        }
    }
    return form;
}

void writePlain(const std::string& path, const std::string& bytes, bool sync) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        std::abort();
    if (sync && ::fsync(fd) != 0) std::abort();
    ::close(fd);
}

void setBytes(benchmark::State& state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["doc_bytes"] = static_cast<double>(bytes);
    state.SetComplexityN(state.range(0));
}

void BM_CreateFiles(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const std::string formPath = folder().file("bench.plx");
    const DocumentSettings pdf;
    if (!writeFormFile(form, formPath).ok) std::abort();
    for (auto _ : state) {
        const DocumentValues values = documentValues(form);
        if (writeFormDocuments(form, values, formPath, pdf).status != CreateFilesStatus::Ok)
            std::abort();
    }
    const DocumentValues values = documentValues(form);
    setBytes(state, rtfDocument(form, values, {}).size() + htmlDocument(form, values).size() +
                        pdfDocument(form, values, pdf).size());
}

// The writing alone: both documents, already built, each put in place as
// Create Files does (temporary file, flush, rename over the read-only one).
void BM_WriteDocuments(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    const std::string rtf = rtfDocument(form, values, {}), html = htmlDocument(form, values);
    const std::string formPath = folder().file("bench.plx");
    const std::string rtfPath = documentPath(formPath, DocumentKind::Rtf);
    const std::string htmlPath = documentPath(formPath, DocumentKind::Html);
    for (auto _ : state)
        if (!replaceFileContents(rtfPath, rtf, true).ok ||
            !replaceFileContents(htmlPath, html, true).ok)
            std::abort();
    setBytes(state, rtf.size() + html.size());
}

// The yardstick: both documents' bytes in one file, written with one call.
void plainWriteOfDocuments(benchmark::State& state, bool sync) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    const std::string bytes = rtfDocument(form, values, {}) + htmlDocument(form, values);
    const std::string path = folder().file("plain.bin");
    for (auto _ : state) writePlain(path, bytes, sync);
    setBytes(state, bytes.size());
}
void BM_PlainWrite(benchmark::State& state) {
    plainWriteOfDocuments(state, false);
}
void BM_PlainWriteSynced(benchmark::State& state) {
    plainWriteOfDocuments(state, true);
}

// The steps of Create Files one by one, to show that each grows linearly.
void BM_ComputeTotals(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(documentValues(form));
    state.SetComplexityN(state.range(0));
}

void BM_RtfDocument(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    for (auto _ : state) benchmark::DoNotOptimize(rtfDocument(form, values, {}));
    state.SetComplexityN(state.range(0));
}

void BM_HtmlDocument(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    for (auto _ : state) benchmark::DoNotOptimize(htmlDocument(form, values));
    state.SetComplexityN(state.range(0));
}

// The PDF in memory: the page layout, then the compressed pages and the cross-references.
void BM_PdfDocument(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    const DocumentSettings pdf;
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string document = pdfDocument(form, values, pdf);
        bytes = document.size();
        benchmark::DoNotOptimize(document.data());
    }
    setBytes(state, bytes);
}

void BM_PdfLayout(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const DocumentValues values = documentValues(form);
    const DocumentSettings pdf;
    const PdfFonts fonts{&pdfEncodingFor(pdf.codePage), {}, {}, {}}; // the standard fonts only
    for (auto _ : state)
        benchmark::DoNotOptimize(pdfLayout(form, values, fonts, pdf.paper).pages.size());
    state.SetComplexityN(state.range(0));
}

void BM_FormSave(benchmark::State& state) {
    FormDocument form = invoiceOf(state.range(0));
    const std::string path = folder().file("save.plx");
    for (auto _ : state)
        if (saveFormFile(path, form, form.itemCount).outcome != SaveOutcome::Saved) std::abort();
    setBytes(state, formFileBytes(form).size());
}

void BM_FormLoad(benchmark::State& state) {
    const FormDocument saved = invoiceOf(state.range(0));
    const std::string path = folder().file("load.plx");
    if (!writeFormFile(saved, path).ok) std::abort();
    for (auto _ : state) {
        FormDocument form;
        if (!loadFormFile(path, form).ok) std::abort();
        benchmark::DoNotOptimize(form.itemCount);
    }
    setBytes(state, formFileBytes(saved).size());
}

void BM_PlainWriteOfForm(benchmark::State& state) {
    const std::string bytes = formFileBytes(invoiceOf(state.range(0)));
    const std::string path = folder().file("plain-form.bin");
    for (auto _ : state) writePlain(path, bytes, false);
    setBytes(state, bytes.size());
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

BENCHMARK(BM_CreateFiles)->Apply(sizes);
BENCHMARK(BM_WriteDocuments)->Apply(sizes);
BENCHMARK(BM_PlainWrite)->Apply(sizes);
BENCHMARK(BM_PlainWriteSynced)->Apply(sizes);
BENCHMARK(BM_ComputeTotals)->Apply(sizes);
BENCHMARK(BM_RtfDocument)->Apply(sizes);
BENCHMARK(BM_HtmlDocument)->Apply(sizes);
BENCHMARK(BM_PdfLayout)->Apply(sizes);
BENCHMARK(BM_PdfDocument)->Apply(sizes);
BENCHMARK(BM_FormSave)->Apply(sizes);
BENCHMARK(BM_FormLoad)->Apply(sizes);
BENCHMARK(BM_PlainWriteOfForm)->Apply(sizes);

} // namespace
} // namespace plaxet

BENCHMARK_MAIN();
