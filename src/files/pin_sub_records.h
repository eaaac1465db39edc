#ifndef TARN_FILES_PIN_SUB_RECORDS_H_
#define TARN_FILES_PIN_SUB_RECORDS_H_

#include "files/item_reader.h"
#include "files/item_writer.h"
#include "model/pin_record.h"

namespace tarn {

// The records of one pin that the configuration data file and the device definitions file share:
// "Cfg", "PAM", "Asp" and "Ins". The files differ in how far they indent them and in which
// aspects and steps they leave out.

// Which aspects and steps of a pin's layout are written.
enum class ProgramRecords {
  kAll,           // every aspect and step of the layout
  kNamedAspects,  // aspects with a description, and their steps that are not empty
  kUsedAspects,   // aspects with a description or a step that is not empty, and those steps
};

// "Cfg": the bytes the pin's mode keeps (ConfigBytesInFile). A servo's byte 2 loses its "Servo
// Initialised" bit, in `pin` as well as in the file.
void WriteConfigRecord(PinRecord& pin, int indent, ItemWriter& out);
// "PAM": extended DCC, DCC and serial address counts.
void WriteAddressCountsRecord(const PinRecord& pin, int indent, ItemWriter& out);
// "Asp" records at `indent`, each followed by its "Ins" records two columns further in.
void WriteProgramRecords(const PinRecord& pin, ProgramRecords which, int indent, ItemWriter& out);

// The items after an "Asp" tag: the aspect index becomes `record_aspect` and the text its
// description. False, with nothing changed, when an item is missing or the index is no aspect.
bool ReadAspectRecord(ItemReader& items, PinRecord& pin, int& record_aspect);

// The items after an "Ins" tag: step index, opcode code, p1..p4, for an aspect of `pin`. False,
// with nothing changed, when an item is missing or does not fit.
bool ReadStepRecord(ItemReader& items, PinRecord& pin, int record_aspect);

}  // namespace tarn

#endif  // TARN_FILES_PIN_SUB_RECORDS_H_
