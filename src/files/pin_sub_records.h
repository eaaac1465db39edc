#ifndef TARN_FILES_PIN_SUB_RECORDS_H_
#define TARN_FILES_PIN_SUB_RECORDS_H_

#include "files/item_reader.h"
#include "files/item_writer.h"
#include "model/pin_record.h"

namespace tarn {

// The records of one pin that the configuration data file and the device definitions file share:
// "Pin", "Cfg", "PAM", "Asp" and "Ins". The files differ in how far they indent them, in which
// aspects and steps they leave out, and in how they number pins.

// Which aspects and steps of a pin's layout are written.
enum class ProgramRecords {
  kAll,           // every aspect and step of the layout
  kNamedAspects,  // aspects with a description, and their steps that are not empty
  kUsedAspects,   // aspects with a description or a step that is not empty, and those steps
};

// "Cfg": the bytes the pin's mode keeps (ConfigBytesOfMode). A servo's byte 2 loses its "Servo
// Initialised" bit, in `pin` as well as in the file.
void WriteConfigRecord(PinRecord& pin, int indent, ItemWriter& out);
// "PAM": extended DCC, DCC and serial address counts.
void WriteAddressCountsRecord(const PinRecord& pin, int indent, ItemWriter& out);
// "Asp" records at `indent`, each followed by its "Ins" records two columns further in.
void WriteProgramRecords(const PinRecord& pin, ProgramRecords which, int indent, ItemWriter& out);

// The items after the pin number of a "Pin" record: layout, initial aspect (0..15; a Tarn reports
// aspects up to 14, + 1) and description. The pin's program is then cleared and its address counts
// start at 1, for the records that follow to fill in. False when an item is missing or does not
// fit.
bool ReadPinRecordItems(ItemReader& items, PinRecord& pin);

// Bytes first..last of a "Cfg" record. False when an item is missing or is no byte.
bool ReadConfigBytes(ItemReader& items, PinConfig& config, int first, int last);

// The items after a "PAM" tag, in the order WriteAddressCountsRecord writes them.
bool ReadAddressCountsRecord(ItemReader& items, PinRecord& pin);

// The items after an "Asp" tag: the aspect index becomes `record_aspect` and the text its
// description. False, with nothing changed, when an item is missing or the index is no aspect.
bool ReadAspectRecord(ItemReader& items, PinRecord& pin, int& record_aspect);

// The items after an "Ins" tag: step index, opcode code, p1..p4, for an aspect of `pin`. False,
// with nothing changed, when an item is missing or does not fit.
bool ReadStepRecord(ItemReader& items, PinRecord& pin, int record_aspect);

}  // namespace tarn

#endif  // TARN_FILES_PIN_SUB_RECORDS_H_
