#include "lang/GermanTexts.h"
#include "lang/Texts.h"

namespace Lang {

const TextTable &MeasureTexts()
{
    static const TextTable texts = {
        {TxDirReading, "Messwertverzeichnis wird eingelesen ..."},
        {TxDirRead, "Messwertverzeichnis ist eingelesen."},
        {TxDirColNr, "  Nr"},
        {TxDirColDate, "Datum"},
        {TxDirColTime, "  Zeit"},
        {TxDirColInterval, "Intervall"},
        {TxDirColAnalog, "Analog"},
        {TxDirColHumidity, "Feuchte"},
        {TxDirColTemperature, "Temperaur"},
        {TxDirColDeleted, "Gelöscht"},
        {TxAnalogOn, "Ein"},
        {TxAnalogOff, "Aus"},

        {TxHdrNoRecordNr, "No Record-Nr. - Token"},
        {TxHdrConvRecordNr, "ConvertError: Record-Nr."},
        {TxHdrNoAnalog, "  No Analog Token"},
        {TxHdrConvAnalog, " ConvertError: AnalogToken"},
        {TxHdrNoHumidity, "  No HumidityCount Token"},
        {TxHdrConvHumidity, " ConvertError: HumidityCount"},
        {TxHdrNoTempLow, "  No Temp-Count Token"},
        {TxHdrConvTempLow, " ConvertError: Temp-Count"},
        {TxHdrNoTempHigh, "  No TempCount Token"},
        {TxHdrConvTempHigh, " ConvertError: TempCount"},
        {TxHdrNoStartDate, "  No StartDate Token"},
        {TxHdrConvStartDate, " Convert Error Start-Date "},
        {TxHdrNoStartTime, "  No StartTime Token"},
        {TxHdrConvStartTime, " Convert Error Start-Time "},
        {TxHdrNoInterval, "  No IntervallTime Token"},
        {TxHdrConvInterval, " Convert Error Intervall-Time "},
        {TxHdrNoOverwrite, "  No OverWrite Token"},
        {TxHdrConvOverwrite, " Convert Error OverWriteCount "},
        {TxRecordPrefix, "Record: "},

        {TxFieldDate, " Datum  "},
        {TxFieldTime, "  Zeit  "},
        {TxFieldIonMin, "Ionen Min"},
        {TxFieldIonAvg, "Ionen Avg"},
        {TxFieldIonMax, "Ionen Max"},
        {TxFieldAnaMinSuffix, "-Min"},
        {TxFieldAnaAvgSuffix, "-Avg"},
        {TxFieldAnaMaxSuffix, "-Max"},
        {TxFieldHumidityPrefix, "F "},
        {TxFieldTemperaturePrefix, "T "},

        {TxNoDirectorySelected, "Kein Messwertverzeichnis selektiert - Auslesen nicht möglich."},
        {TxNoFieldsSelected, "Keine Felder selektiert - Auslesen nicht möglich."},
        {TxSelectionImpossible, "Selektion nicht möglich"},
        {TxReadingAsText, "Daten werden in Textform gelesen"},
        {TxReadingBlock, "Messdaten aus Block %d werden gelesen."},
        // a date-time pattern: quoted parts are literal
        {TxChartTitlePattern, "'QT8800-Daten vom 'dd.MM.yyyy' - 'HH:mm:ss"},
        {TxReadCancelled, "Lesen der Messwerte abgebrochen"},
        {TxAllRecordsRead, "Alle Sätze aus Block %d gelesen."},
        {TxBlockNrNotValid, "Block-Nr. not valid"},
        {TxNoAlarmToken, " No Alarm - Token"},
        {TxNoPolarityToken, " No Polarity - Token"},
        {TxTokenErrorAt, " Token-Error at "},
        {TxConvertErrorAt, " Convert-Error at "},

        {TxNoRangeToken, "No RangeToken"},
        {TxConvRangeToken, "ConvertError: RangeToken"},
        {TxNoPolarityTokenLive, "No PolarityToken"},
        {TxConvPolarityToken, "ConvertError: PolarityToken"},
        {TxNoValueTokenNo, "No ValueToken No %d"},
        {TxConvValueToken, "ConvertError: ValueToken"},
        {TxErrorValue, "Error Value: %s, Token: %d "},
        {TxUnknownMeasureType, "Unknown Measure Type: %s, Token: %d "},
        {TxSensorOutOfRange, "???"},

        {TxNegativePrefix, "Neg."},
        {TxPositivePrefix, "Pos."},

        {TxTextTitle, "Messdaten Ionomter QT 8800"},
        {TxTextSerialPrefix, "Serien-Nr. "},
        {TxMeasuredFromPattern, "'Messwerte vom: 'dd.MM.yyyy'  - 'HH:mm:ss"},
        {TxSaveMeasureTitle, "Speichern der Messwertdaten"},
        {TxSaveMeasureExtension, "CSV"},
        {TxSaveMeasureFilter, "Datenendatei(*.CSV)|*.CSV|Textdatei(*.TXT)|*.TXT|Alle Dateien (*.*)|*.*"},
        {TxSaveMeasureCancelled, "Funktion Messwerte in Datei schreiben abgebrochen."},
        {TxDataSaved, "Daten gespeichert."},
        {TxDataNotSaved, "Daten konnten nicht gespeichert werden!"},

        {TxExcelCannotStart, "EXCEL konnte nicht gestartet werden !"},
        {TxExcelCaption, "QT 8800 Datenübernahme"},
        {TxSheetCannotLoad, "Arbeitstabelle konnte nicht geladen werden"},
        {TxWorkbookAuthor, "QT 8800"},
        {TxWorkbookCaptionPrefix, "Daten vom "},
        {TxSheetTitlePrefix, "Messdaten QT 8800 - Programm QT8800.EXE Vers. "},
        {TxSheetSerialPrefix, "Serien-Nr.: "},
        {TxIonUnit, "Ionen/cm³"},
        {TxChartGenerating, "Diagramm wird generiert"},
        {TxNoDataAvailable, "Keine Daten verfügbar!"},
        {TxChartCreated, "Diagramm wurde erstellt."},
        {TxExcelNotSaved, "EXCEL-Daten sind noch nicht gespeichert"},
        {TxExcelSaveQuestion, "Wollen Sie noch sichern?"},
        {TxExcelSaveTitle, "QT 8800 Daten speichern?"},
        {TxExcelSaveFilter, "EXCEL(*.XLSX)|*.XLSX|Alle Dateien (*.*)|*.*"},
        {TxExcelFilePrefix, "QT8800_"},
        {TxSheetName, "Tabelle1"},
        {TxChartSheetName, "Diagramm1"},
        {TxTemplateOldFormat, "Die Vorlage %s ist eine Arbeitsmappe im alten Format (.xls). Zum Umwandeln LibreOffice "
                              "installieren oder die Vorlage im Tabellenprogramm als .xlsx speichern und diese Datei "
                              "als Vorlage wählen."},
        {TxTemplateConverting, "Vorlage %s wird umgewandelt ..."},
        {TxExcelSaveFilterMacro, "EXCEL mit Makros(*.XLSM)|*.XLSM|Alle Dateien (*.*)|*.*"},

        {TxLiveRangeCaption, "Messbereich"},
        {TxLiveIonCaption, "Ionen"},
        {TxLiveNotOurs, "keine Aufzeichnung von Live-Werten; sie wird nicht fortgesetzt"},
    };
    return texts;
}

} // namespace Lang
