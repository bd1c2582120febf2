// Named step programs, the selected program and the chain of programs to run in order.
// Every edit returns 0 or the SCPI error number the instrument reports.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model_ratings.h"
#include "sim/settings.h"

namespace tqrsim {

class ProgramStore {
 public:
  static constexpr std::size_t kMaxPrograms = 16;
  static constexpr std::size_t kMaxSteps = 1024;  // over all programs
  static constexpr std::size_t kMaxChain = 16;
  static constexpr std::size_t kMaxNameLength = 16;

  explicit ProgramStore(const ModelRatings& model) : model_(model) {}

  // Selects a program, creating it with one default step when it does not exist.
  int Select(std::string_view name);
  Program* selected();
  std::string selected_name() const;
  int RenameSelected(std::string_view name);
  int DeleteSelected();
  void DeleteAll();
  std::vector<std::string> Names() const;
  const Program* Find(std::string_view name) const;

  // Steps of the selected program, numbered from 1.
  ProgramStep* Step(int number, int& error);
  int SetStepCount(int count);
  int InsertStep(int number);
  int DeleteStep(int number);
  std::size_t TotalSteps() const;

  int AddToChain(std::string_view name);
  void ClearChain() { chain_.clear(); }
  const std::vector<std::string>& chain() const { return chain_; }
  // The programs a run goes through: the chain if there is one, else the selected program.
  int ProgramsToRun(std::vector<Program>& out) const;

 private:
  static bool IsValidName(std::string_view name);

  ModelRatings model_;
  std::vector<Program> programs_;
  int selected_ = -1;
  std::vector<std::string> chain_;
};

}  // namespace tqrsim
