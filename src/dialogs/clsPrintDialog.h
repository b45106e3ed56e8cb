#pragma once
// The print dialog object: shows the system's print dialog on the application's
// current printer and keeps what the user chose (page range, copies, the printer and
// its device settings) as properties. The print commands, the preview and the mail
// merge read them after the main frame's PrintSetup.
//
// The device settings are those the print system reports through Qt. Not available
// on this platform, and therefore 0 with their ...Valid flag false: DriverVersion,
// ScalePercent, DefaultSource, TTOption, MediaType, DitherType, ICMMethod, ICMIntent.

#include <QString>
#include <QtGlobal>
#include <functional>

class QPrinter;
class QWidget;

class clsPrintDialog {
public:
    // Flag values of the print dialog record.
    enum Flag : quint32 {
        Selection = 0x1, PageNums = 0x2, NoSelection = 0x4, NoPageNums = 0x8, Collate_ = 0x10,
        PrintToFile = 0x20, PrintSetup = 0x40, NoWarning = 0x80, ReturnDC = 0x100,
        ReturnIC = 0x200, ReturnDefault = 0x400, HelpButton = 0x800, UseDevModeCopies = 0x40000,
        DisablePrintToFile = 0x80000, HidePrintToFile = 0x100000, NoNetworkButton = 0x200000,
    };
    // Bits of the device-mode field mask: which settings the dialog delivered.
    enum Field : quint32 {
        FOrientation = 0x1, FPaperSize = 0x2, FPaperLength = 0x4, FPaperWidth = 0x8,
        FScale = 0x10, FCopies = 0x100, FDefaultSource = 0x200, FPrintQuality = 0x400,
        FColor = 0x800, FDuplex = 0x1000, FYResolution = 0x2000, FTTOption = 0x4000,
        FCollate = 0x8000, FFormName = 0x10000, FICMMethod = 0x800000, FICMIntent = 0x1000000,
        FMediaType = 0x2000000, FDitherType = 0x4000000,
    };
    // Raised when the dialog cannot be shown: platform code, description, and a cancel
    // flag the handler may set.
    using DialogErrorHandler = std::function<void(qint32& code, QString& description, bool& cancel)>;
    // Code of the failure "no printer installed".
    static constexpr qint32 NoDefaultPrinter = 0x1008;

    QString Version() const { return QStringLiteral("1.00 (14.01.2000)"); }
    QString CopyRight() const;

    qint16 PDnFromPage = 0, PDnToPage = 0, PDnMinPage = 0, PDnMaxPage = 0, PDnCopies = 1;

    bool PD_AllPages() const { return !(m_flags & (PageNums | Selection)); }
    void setPD_AllPages(bool on);
    bool PD_PageNums() const { return m_flags & PageNums; }
    void setPD_PageNums(bool on) { setFlag(PageNums, on); }
    bool PD_Selection() const { return m_flags & Selection; }
    void setPD_Selection(bool on) { setFlag(Selection, on); }
    bool PD_Collate() const { return m_flags & Collate_; }
    void setPD_Collate(bool on) { setFlag(Collate_, on); }
    bool PD_DisablePrintToFile() const { return m_flags & DisablePrintToFile; }
    void setPD_DisablePrintToFile(bool on) { setFlag(DisablePrintToFile, on); }
    bool PD_HidePrintToFile() const { return m_flags & HidePrintToFile; }
    void setPD_HidePrintToFile(bool on) { setFlag(HidePrintToFile, on); }
    bool PD_NoPageNums() const { return m_flags & NoPageNums; }
    void setPD_NoPageNums(bool on) { setFlag(NoPageNums, on); }
    bool PD_NoSelection() const { return m_flags & NoSelection; }
    void setPD_NoSelection(bool on) { setFlag(NoSelection, on); }
    bool PD_NoWarning() const { return m_flags & NoWarning; }
    void setPD_NoWarning(bool on) { setFlag(NoWarning, on); }
    bool PD_PrintSetup() const { return m_flags & PrintSetup; }
    void setPD_PrintSetup(bool on) { setFlag(PrintSetup, on); }
    bool PD_PrintToFile() const { return m_flags & PrintToFile; }
    void setPD_PrintToFile(bool on) { setFlag(PrintToFile, on); }
    bool PD_ReturnDC() const { return m_flags & ReturnDC; }
    void setPD_ReturnDC(bool on) { setFlag(ReturnDC, on); }
    bool PD_ReturnIC() const { return m_flags & ReturnIC; }
    void setPD_ReturnIC(bool on) { setFlag(ReturnIC, on); }
    bool PD_ReturnDefault() const { return m_flags & ReturnDefault; }
    void setPD_ReturnDefault(bool on) { setFlag(ReturnDefault, on); }
    bool PD_HelpButton() const { return m_flags & HelpButton; }
    void setPD_HelpButton(bool on) { setFlag(HelpButton, on); }
    bool PD_UseDevModeCopies() const { return m_flags & UseDevModeCopies; }
    void setPD_UseDevModeCopies(bool on) { setFlag(UseDevModeCopies, on); }
    bool PD_NONETWORKBUTTON() const { return m_flags & NoNetworkButton; }
    void setPD_NONETWORKBUTTON(bool on) { setFlag(NoNetworkButton, on); }
    quint32 flags() const { return m_flags; }

    bool Cancelled() const { return m_cancelled; }

    QString DeviceName() const { return m_deviceName; }
    qint16 DriverVersion() const { return 0; }
    qint32 DitherType() const { return 0; }
    bool DitherTypeValid() const { return valid(FDitherType); }
    qint32 MediaType() const { return 0; }
    bool MediaTypeValid() const { return valid(FMediaType); }
    qint32 ICMIntent() const { return 0; }
    bool ICMIntentValid() const { return valid(FICMIntent); }
    qint32 ICMMethod() const { return 0; }
    bool ICMMethodValid() const { return valid(FICMMethod); }
    QString FormName() const { return m_formName; }
    bool FormNameValid() const { return valid(FFormName); }
    qint16 Collate() const { return m_collate; }
    bool CollateValid() const { return valid(FCollate); }
    qint16 TTOption() const { return 0; }
    bool TTOptionValid() const { return valid(FTTOption); }
    qint16 YResolution() const { return m_yResolution; }
    bool YResolutionValid() const { return valid(FYResolution); }
    qint16 Duplex() const { return m_duplex; }
    bool DuplexValid() const { return valid(FDuplex); }
    qint16 Color() const { return m_color; }
    bool ColorValid() const { return valid(FColor); }
    qint16 PrintQuality() const { return m_printQuality; }
    bool PrintQualityValid() const { return valid(FPrintQuality); }
    qint16 DefaultSource() const { return 0; }
    bool DefaultSourceValid() const { return valid(FDefaultSource); }
    qint16 Copies() const { return m_copies; }
    bool CopiesValid() const { return valid(FCopies); }
    qint16 ScalePercent() const { return 0; }
    bool ScalePercentValid() const { return valid(FScale); }
    qint16 PaperWidth() const { return m_paperWidth; }
    bool PaperWidthValid() const { return valid(FPaperWidth); }
    qint16 PaperLength() const { return m_paperLength; }
    bool PaperLengthValid() const { return valid(FPaperLength); }
    qint16 PaperSize() const { return m_paperSize; }
    bool PaperSizeValid() const { return valid(FPaperSize); }
    qint16 Orientation() const { return m_orientation; }
    bool OrientationValid() const { return valid(FOrientation); }
    quint32 fieldMask() const { return m_fields; }

    // Shows the print dialog on the current printer (owner may be null).
    void ShowPrinter(QWidget* owner = nullptr);
    QString GetDefaultPrinterName(QWidget* owner = nullptr);
    // The print system's settings dialog of the named printer.
    void ChangeDocProperties(const QString& deviceName, QWidget* owner = nullptr);
    static QString ClipNullChar(const QString& text);

    DialogErrorHandler DialogError;

    // Takes the device settings from `printer` as the dialog left them.
    void readDeviceSettings(QPrinter& printer);

private:
    void setFlag(quint32 flag, bool on) { m_flags = on ? (m_flags | flag) : (m_flags & ~flag); }
    bool valid(quint32 field) const { return m_fields & field; }
    void raiseError(qint32 code, QString description);

    quint32 m_flags = 0;
    quint32 m_fields = 0;
    bool m_cancelled = false;
    QString m_deviceName, m_formName;
    qint16 m_orientation = 0, m_paperSize = 0, m_paperLength = 0, m_paperWidth = 0,
           m_copies = 0, m_printQuality = 0, m_color = 0, m_duplex = 0, m_yResolution = 0,
           m_collate = 0;
};
