#include "sim/program_store.h"

#include <algorithm>

#include "sim/scpi_errors.h"
#include "sim/setting_tables.h"

namespace tqrsim {

bool ProgramStore::IsValidName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return c > ' ' && c < 0x7f && c != '"' && c != '\'' && c != ',';
  });
}

const Program* ProgramStore::Find(std::string_view name) const {
  for (const Program& program : programs_) {
    if (program.name == name) return &program;
  }
  return nullptr;
}

int ProgramStore::Select(std::string_view name) {
  if (!IsValidName(name)) return kIllegalParameterValue;
  for (std::size_t i = 0; i < programs_.size(); ++i) {
    if (programs_[i].name == name) {
      selected_ = static_cast<int>(i);
      return 0;
    }
  }
  if (programs_.size() >= kMaxPrograms || TotalSteps() >= kMaxSteps) return kOutOfMemory;
  Program program;
  program.name = std::string(name);
  program.steps.push_back(DefaultStep(model_));
  programs_.push_back(std::move(program));
  selected_ = static_cast<int>(programs_.size() - 1);
  return 0;
}

Program* ProgramStore::selected() {
  if (selected_ < 0) return nullptr;
  return &programs_[static_cast<std::size_t>(selected_)];
}

std::string ProgramStore::selected_name() const {
  if (selected_ < 0) return {};
  return programs_[static_cast<std::size_t>(selected_)].name;
}

int ProgramStore::RenameSelected(std::string_view name) {
  Program* program = selected();
  if (program == nullptr) return kSettingsConflict;
  if (!IsValidName(name)) return kIllegalParameterValue;
  const Program* other = Find(name);
  if (other != nullptr && other != program) return kSettingsConflict;
  for (std::string& link : chain_) {
    if (link == program->name) link = std::string(name);
  }
  program->name = std::string(name);
  return 0;
}

int ProgramStore::DeleteSelected() {
  Program* program = selected();
  if (program == nullptr) return kSettingsConflict;
  std::erase(chain_, program->name);
  programs_.erase(programs_.begin() + selected_);
  selected_ = -1;
  return 0;
}

void ProgramStore::DeleteAll() {
  programs_.clear();
  chain_.clear();
  selected_ = -1;
}

std::vector<std::string> ProgramStore::Names() const {
  std::vector<std::string> names;
  for (const Program& program : programs_) names.push_back(program.name);
  return names;
}

ProgramStep* ProgramStore::Step(int number, int& error) {
  Program* program = selected();
  if (program == nullptr) {
    error = kSettingsConflict;
    return nullptr;
  }
  if (number < 1 || static_cast<std::size_t>(number) > program->steps.size()) {
    error = kHeaderSuffixOutOfRange;
    return nullptr;
  }
  error = 0;
  return &program->steps[static_cast<std::size_t>(number - 1)];
}

std::size_t ProgramStore::TotalSteps() const {
  std::size_t total = 0;
  for (const Program& program : programs_) total += program.steps.size();
  return total;
}

int ProgramStore::SetStepCount(int count) {
  Program* program = selected();
  if (program == nullptr) return kSettingsConflict;
  if (count < 1) return kDataOutOfRange;
  auto wanted = static_cast<std::size_t>(count);
  if (wanted > program->steps.size() && TotalSteps() - program->steps.size() + wanted > kMaxSteps) {
    return kDataOutOfRange;
  }
  program->steps.resize(wanted, DefaultStep(model_));
  return 0;
}

int ProgramStore::InsertStep(int number) {
  Program* program = selected();
  if (program == nullptr) return kSettingsConflict;
  if (number < 1 || static_cast<std::size_t>(number) > program->steps.size() + 1) {
    return kHeaderSuffixOutOfRange;
  }
  if (TotalSteps() >= kMaxSteps) return kOutOfMemory;
  program->steps.insert(program->steps.begin() + (number - 1), DefaultStep(model_));
  return 0;
}

int ProgramStore::DeleteStep(int number) {
  Program* program = selected();
  if (program == nullptr) return kSettingsConflict;
  if (number < 1 || static_cast<std::size_t>(number) > program->steps.size()) {
    return kHeaderSuffixOutOfRange;
  }
  if (program->steps.size() == 1) return kSettingsConflict;  // a program keeps one step
  program->steps.erase(program->steps.begin() + (number - 1));
  return 0;
}

int ProgramStore::AddToChain(std::string_view name) {
  if (Find(name) == nullptr) return kIllegalParameterValue;
  if (chain_.size() >= kMaxChain) return kOutOfMemory;
  chain_.emplace_back(name);
  return 0;
}

int ProgramStore::ProgramsToRun(std::vector<Program>& out) const {
  out.clear();
  if (!chain_.empty()) {
    for (const std::string& name : chain_) {
      if (const Program* program = Find(name)) out.push_back(*program);
    }
  } else if (selected_ >= 0) {
    out.push_back(programs_[static_cast<std::size_t>(selected_)]);
  }
  return out.empty() ? kSettingsConflict : 0;
}

}  // namespace tqrsim
