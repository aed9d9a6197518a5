#pragma once
// The printing class: one instance drives one printed document on one
// printer. Every position, width and margin it takes or gives is in inches
// from the paper's top-left corner; it converts to device pixels itself.
// It draws single lines; breaking text into lines and pages is the caller's.
#include <cstdint>
#include <string>
#include <string_view>

#include "print/print_geometry.h"
#include "print/printer_device.h"

// The Windows headers define GetTextMetrics and StartDoc as macros; the
// class's own methods carry those names.
#undef GetTextMetrics
#undef StartDoc

namespace plaxet {

class cTPrint {
  public:
    explicit cTPrint(PrinterDevice& device) : device_(device) {}

    std::string UseDefaultPrinter();
    // The name of the printer the user picked; empty when the choice was
    // cancelled and none had been picked before: nothing is to be printed.
    std::string ChoosePrinter();
    void SetFont(std::string_view face, int32_t points, std::string_view style);

    double TextWidth(std::string_view text);
    // The longest head of `text` that fits into `width`; for a negative
    // width the longest tail that fits into -width; empty for 0.
    std::string FitText(std::string_view text, double width);
    void SetMargins(double left, double right, double top, double bottom);
    void GetPageSize(double& width, double& height);
    void GetTextMetrics(double& averageCharWidth, double& lineHeight);
    int32_t LinesLeft(double y);
    int32_t IsDuplex();
    void SetDuplex(int32_t mode);
    void SetPosition(double x, double y);
    // Draws `text` at (x, y), clipped to the margins. A zero x keeps the
    // current x; a zero y moves one line height below the current y.
    void PrintText(std::string_view text, double x, double y);

    // The document and page brackets report a failure to the user and
    // return false; the caller then stops.
    bool StartDoc(std::string_view documentName);
    bool StartPage();
    bool EndPage();
    bool EndDoc();
    // Ends a document that failed after StartDoc.
    void AbortDoc();

    double currentX() const { return currentX_; }
    double currentY() const { return currentY_; }

  private:
    void ensurePrinter();
    void updateLineHeight();
    void ReportPrintError(int32_t code);

    PrinterDevice& device_;
    double lineHeight_ = 0;
    PageMargins margins_;
    std::string printerName_;
    double currentX_ = 0;
    double currentY_ = 0;
};

} // namespace plaxet
