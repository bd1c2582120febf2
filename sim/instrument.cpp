#include "sim/instrument.h"

#include "sim/commands.h"
#include "sim/exec.h"
#include "sim/scpi_errors.h"
#include "sim/scpi_parser.h"

namespace tqrsim {
namespace {

std::string DefaultSerial(std::string_view model) {
  // "TQR-M4" -> "M4" + a fixed number, so every model has a stable serial number.
  std::string serial = model.size() > 4 ? std::string(model.substr(4)) : std::string(model);
  return serial + "A004217";
}

}  // namespace

Instrument::Instrument(const ModelRatings& ratings, SimClock& clock,
                       const InstrumentOptions& options)
    : clock_(clock),
      model_(ratings, clock, options.model),
      errors_(options.error_queue_capacity),
      firmware_(options.firmware) {
  std::string serial = options.serial.empty() ? DefaultSerial(ratings.name) : options.serial;
  identity_ = "MORVANE," + std::string(ratings.name) + "," + serial + "," + firmware_;
  RegisterCommonCommands(tree_);
  RegisterStatusCommands(tree_);
  RegisterSettingCommands(tree_);
  RegisterOutputCommands(tree_);
  RegisterMeasureCommands(tree_);
  RegisterProgramCommands(tree_);
  RegisterIvCommands(tree_);
  RegisterSystemCommands(tree_);
  RegisterSimulatorCommands(tree_);
  SyncStatus();
}

void Instrument::ReportError(int code) {
  errors_.Push(code);
  events_.Set(EsrBitForError(code));
}

void Instrument::SyncStatus() {
  operation_.SetCondition(model_.OperationCondition());
  questionable_.SetCondition(model_.alarms());
}

std::uint8_t Instrument::StatusByte() const {
  unsigned stb = 0;
  if (!errors_.empty()) stb |= 4;
  if (questionable_.Summary()) stb |= 8;
  if (reply_pending_) stb |= 16;
  if ((events_.esr() & events_.ese()) != 0) stb |= 32;
  if (operation_.Summary()) stb |= 128;
  if ((stb & events_.sre()) != 0) stb |= 64;
  return static_cast<std::uint8_t>(stb);
}

void Instrument::Tick() {
  model_.Update();
  SyncStatus();
}

Reply Instrument::Process(std::string_view message) {
  Reply reply;
  reply_pending_ = false;
  model_.Update();  // first, so that a watchdog deadline already passed still trips
  model_.NoteCommand();
  SyncStatus();
  ScpiParser parser(message);
  ProgramUnit unit;
  int error = 0;
  while (parser.Next(unit, error)) {
    if (error != 0) {
      ReportError(error);
      break;
    }
    Execute(unit, reply);
    model_.Update();
    SyncStatus();
  }
  return reply;
}

void Instrument::Execute(const ProgramUnit& unit, Reply& reply) {
  std::vector<int> suffixes;
  const CommandEntry* entry = tree_.Find(unit, suffixes);
  if (entry == nullptr) {
    ReportError(kUndefinedHeader);
    return;
  }
  Exec exec(*this, unit, std::move(suffixes));
  const Handler& handler = unit.query ? entry->query : entry->set;
  handler(exec);
  if (!unit.query || !exec.replied() || exec.failed()) return;
  if (reply.present) reply.text.push_back(';');
  reply.text += exec.reply();
  reply.present = true;
  reply_pending_ = true;
}

}  // namespace tqrsim
