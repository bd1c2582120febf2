// Every component interface of the driver and the enumerations they use.
//
// The driver object (class MorvaneTqr) is the root of a small tree; every
// arrow is a read-only navigation property that hands out an object that
// already exists, with one more reference for the caller to Release:
//
//   IMorvaneTqr (default interface; derives from IIviDriver)
//     Initialize / Close, DriverOperation, Identity, Utility    (IIviDriver)
//     -> Outputs  IMorvaneTqrOutputs
//          Count, Name(1-based index),
//          Item("OutputChannel1") -> IMorvaneTqrOutputChannel  (class MorvaneTqrOutputChannel)
//              -> Protection  IMorvaneTqrOutputChannelProtection
//              -> Pulse       IMorvaneTqrOutputChannelPulse
//              -> Sine        IMorvaneTqrOutputChannelSine
//              -> IV          IMorvaneTqrOutputChannelIV
//     -> System   IMorvaneTqrSystem
//          -> Analog, IO, Memory, Diagnostic   IMorvaneTqrSystem...
//          -> DirectIO   the session's VISA-COM IFormattedIO488
//     -> Data     IMorvaneTqrData
//     -> Program  IMorvaneTqrProgram
//     -> Sense    IMorvaneTqrSense
//     -> Status   IMorvaneTqrStatus -> Questionable, Operation
//     -> Trigger  IMorvaneTqrTrigger
//     -> Global   IMorvaneTqrGlobal
//
// The IviDCPwr class view of the same objects: QueryInterface the driver for
// IIviDCPwr -> Outputs (IIviDCPwrOutputs) -> Item -> IIviDCPwrOutput, and
// IIviDCPwr -> Trigger (IIviDCPwrTrigger). Every sub-interface of the driver
// is the driver object itself, and every sub-interface of a channel is that
// channel object, so QueryInterface moves between them freely.
//
//   com::ComPtr<IMorvaneTqrOutputs> outputs;
//   driver->get_Outputs(outputs.Put());
//   com::ComPtr<IMorvaneTqrOutputChannel> channel;
//   outputs->get_Item(com::Bstr::FromUtf8("OutputChannel1").Get(), channel.Put());
//   com::ComPtr<IMorvaneTqrOutputChannelProtection> protection;
//   channel->get_Protection(protection.Put());
//   protection->put_OCPLevel(2.5);
//
// Every member returns a status code (negative: failure; the calling thread's
// error object then holds the message). Strings are BSTRs: an in string stays
// the caller's, an out string belongs to the caller afterwards. Arrays are
// one-dimensional, zero-based SAFEARRAYs of the element type.
//
// For implementers: some interfaces of one class declare members with the same
// signature (put_VoltageLevel and get_Enabled of IIviDCPwrOutput and
// IMorvaneTqrOutputChannel, the frequency members of Pulse and Sine, every
// member of StatusQuestionable and StatusOperation, SendSoftwareTrigger of the
// two trigger interfaces). Their qualified names, and so their behaviour,
// differ: a class overrides them through one small intermediate class per
// interface rather than with a single override.
#pragma once

#include "interfaces/common.h"
#include "interfaces/data.h"
#include "interfaces/enums.h"
#include "interfaces/global.h"
#include "interfaces/ivi_dcpwr.h"
#include "interfaces/ivi_driver.h"
#include "interfaces/morvane_tqr.h"
#include "interfaces/output_channel.h"
#include "interfaces/program.h"
#include "interfaces/sense.h"
#include "interfaces/status.h"
#include "interfaces/system.h"
#include "interfaces/trigger.h"
