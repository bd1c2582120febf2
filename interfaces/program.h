// The step sequencer: the instrument's stored programs, their steps, and the
// chain of programs. Step numbers are the instrument's (1-based).
//
//   program->ConfigureSelectedProgram(name);
//   program->ConfigureProgramStepDwell(1, 0.5);
//   program->ConfigureProgramStepCurrent(1, MorvaneTqrPositiveNegativeNegative, 2.0);
//   program->SaveProgram();
#pragma once

#include <cstdint>

#include "interfaces/common.h"
#include "interfaces/enums.h"

namespace motqr {

class IMorvaneTqrProgram : public com::IUnknown {
 public:
  static constexpr com::IID kIid = MorvaneTqrIid(0x0E);
  static constexpr const char* kName = "IMorvaneTqrProgram";
  virtual HRESULT ConfigureSelectedProgram(BSTR Name) = 0;
  virtual HRESULT QuerySelectedProgram(BSTR* Name) = 0;
  virtual HRESULT RenameProgram(BSTR NewName) = 0;
  virtual HRESULT DeleteAllPrograms() = 0;
  virtual HRESULT GetProgramList(com::SAFEARRAY** ProgramNames) = 0;
  virtual HRESULT DeleteSelectedProgram() = 0;
  virtual HRESULT ConfigureProgramStepDwell(std::int32_t StepNumber, double Dwell) = 0;
  virtual HRESULT QueryProgramStepDwell(std::int32_t StepNumber, double* Dwell) = 0;
  virtual HRESULT ConfigureProgramStepTransition(std::int32_t StepNumber,
                                                 MorvaneTqrProgramStepTransitionEnum Factor) = 0;
  virtual HRESULT QueryProgramStepTransition(std::int32_t StepNumber,
                                             MorvaneTqrProgramStepTransitionEnum* Factor) = 0;
  virtual HRESULT ConfigureProgramStepFunctionMode(
      std::int32_t StepNumber, MorvaneTqrProgramStepFunctionModeEnum FunctionMode) = 0;
  virtual HRESULT QueryProgramStepFunctionMode(
      std::int32_t StepNumber, MorvaneTqrProgramStepFunctionModeEnum* FunctionMode) = 0;
  virtual HRESULT ConfigureProgramStepCurrent(std::int32_t StepNumber,
                                              MorvaneTqrPositiveNegativeEnum PositiveNegative,
                                              double Current) = 0;
  virtual HRESULT ConfigureProgramStepOutputEnabled(std::int32_t StepNumber,
                                                    VARIANT_BOOL Enabled) = 0;
  virtual HRESULT QueryProgramStepOutputEnabled(std::int32_t StepNumber, VARIANT_BOOL* Enabled) = 0;
  virtual HRESULT QueryProgramStepCurrent(std::int32_t StepNumber,
                                          MorvaneTqrPositiveNegativeEnum PositiveNegative,
                                          double* Current) = 0;
  virtual HRESULT ConfigureProgramStepSeamlessCurrent(std::int32_t StepNumber, double Current) = 0;
  virtual HRESULT QueryProgramStepSeamlessCurrent(std::int32_t StepNumber, double* Current) = 0;
  virtual HRESULT ConfigureProgramStepPower(std::int32_t StepNumber,
                                            MorvaneTqrPositiveNegativeEnum PositiveNegative,
                                            double Power) = 0;
  virtual HRESULT QueryProgramStepPower(std::int32_t StepNumber,
                                        MorvaneTqrPositiveNegativeEnum PositiveNegative,
                                        double* Power) = 0;
  virtual HRESULT ConfigureProgramStepSeamlessPower(std::int32_t StepNumber, double Power) = 0;
  virtual HRESULT QueryProgramStepSeamlessPower(std::int32_t StepNumber, double* Power) = 0;
  virtual HRESULT ConfigureProgramStepVoltage(std::int32_t StepNumber, double Voltage) = 0;
  virtual HRESULT QueryProgramStepVoltage(std::int32_t StepNumber, double* Voltage) = 0;
  virtual HRESULT ConfigureProgramStepInternalResistance(std::int32_t StepNumber,
                                                         double InternalResistance) = 0;
  virtual HRESULT QueryProgramStepInternalResistance(std::int32_t StepNumber,
                                                     double* InternalResistance) = 0;
  virtual HRESULT ConfigureProgramStepRamp(std::int32_t StepNumber,
                                           MorvaneTqrProgramStepRampEnum Ramp) = 0;
  virtual HRESULT QueryProgramStepRamp(std::int32_t StepNumber,
                                       MorvaneTqrProgramStepRampEnum* Ramp) = 0;
  virtual HRESULT ConfigureProgramStepTrigger(std::int32_t StepNumber,
                                              MorvaneTqrTriggerEnum ProgramStepTrigger) = 0;
  virtual HRESULT QueryProgramStepTrigger(std::int32_t StepNumber,
                                          MorvaneTqrTriggerEnum* ProgramStepTrigger) = 0;
  virtual HRESULT InsertProgramStep(std::int32_t StepNumber) = 0;
  virtual HRESULT QueryProgramStepCount(std::int32_t* Count) = 0;
  virtual HRESULT DeleteProgramStep(std::int32_t StepNumber) = 0;
  virtual HRESULT SaveProgram() = 0;
  virtual HRESULT ChainProgram(BSTR Name) = 0;
  virtual HRESULT QueryProgramChain(com::SAFEARRAY** ProgramNames) = 0;
  virtual HRESULT UnchainAllPrograms() = 0;
  virtual HRESULT ConfigureProgramStepSignal(std::int32_t StepNumber,
                                             MorvaneTqrProgramStepSignalEnum Signal) = 0;
  virtual HRESULT QueryProgramStepSignal(std::int32_t StepNumber,
                                         MorvaneTqrProgramStepSignalEnum* Signal) = 0;
  virtual HRESULT get_ProgramLoopCount(std::int32_t* val) = 0;
  virtual HRESULT put_ProgramLoopCount(std::int32_t val) = 0;
  virtual HRESULT get_ProgramCurrentFunctionMode(MorvaneTqrProgramCurrentFunctionModeEnum* val) = 0;
  virtual HRESULT put_ProgramCurrentFunctionMode(MorvaneTqrProgramCurrentFunctionModeEnum val) = 0;
  virtual HRESULT get_ProgramPowerFunctionMode(MorvaneTqrProgramPowerFunctionModeEnum* val) = 0;
  virtual HRESULT put_ProgramPowerFunctionMode(MorvaneTqrProgramPowerFunctionModeEnum val) = 0;
  virtual HRESULT get_ProgramStepCount(std::int32_t* val) = 0;
  virtual HRESULT put_ProgramStepCount(std::int32_t val) = 0;

 protected:
  ~IMorvaneTqrProgram() = default;
};

}  // namespace motqr
