/**
 * @file motqr.h
 * @brief The C interface of the motqr driver for the Morvane TQR-M1 to TQR-M7 bipolar DC power
 * supplies (link with -lmotqr).
 *
 * A program opens a session on one instrument, calls operations, and closes the
 * session. Every function returns a ViStatus: 0 success, negative an error,
 * positive a warning (or, for text results, the buffer size that would have
 * held the whole text). After a failure, motqr_GetError returns the text that
 * goes with it; motqr_error_message returns the generic text of any status.
 *
 * @code{.c}
 *   ViSession vi = VI_NULL;
 *   ViStatus s = motqr_InitWithOptions("TCPIP::192.168.1.20::5025::SOCKET", VI_TRUE, VI_FALSE,
 *                                      "QueryInstrStatus=true", &vi);
 *   if (s >= 0) s = motqr_ConfigureVoltageLevel(vi, "OutputChannel1", 5.0);
 *   if (s >= 0) s = motqr_ConfigureOutputEnabled(vi, "OutputChannel1", VI_TRUE);
 *   if (s >= 0) s = motqr_Measure(vi, "OutputChannel1", MOTQR_VAL_MEASUREMENT_CURRENT, &amps);
 *   if (s < 0) {
 *     ViStatus code; ViChar text[256];
 *     motqr_GetError(vi, &code, sizeof text, text);   // vi may be VI_NULL: see below
 *     fprintf(stderr, "error 0x%08X: %s\n", (unsigned)code, text);
 *   }
 *   motqr_close(vi);
 * @endcode
 *
 * Use the option string "Simulate=true" to run without an instrument.
 *
 * @par Sessions and threads
 *   Any thread may call any function on any session; calls on one session are
 *   serialized by the driver. motqr_LockSession / motqr_UnlockSession keep other
 *   threads out of a session over a sequence of calls (recursive; the
 *   CallerHasLock flag makes both calls do nothing when they have nothing to do).
 *   Each session keeps one last error: the status and text of the most recent
 *   failure or warning, read (and cleared) by motqr_GetError, cleared by
 *   motqr_ClearError. Errors without a session (a failed motqr_init, or calls
 *   with vi = VI_NULL) are kept per thread under session VI_NULL.
 *
 * @par Ownership of buffers and strings
 *   - The driver never keeps a pointer the caller passed, and never hands out
 *     memory the caller must free: every result is copied into caller storage.
 *   - Input strings (ViConstString, ViRsrc) are zero-terminated UTF-8 and only
 *     read during the call. A null channel name counts as "".
 *   - Text results take a buffer size and a buffer (ViInt32 BufferSize, ViChar
 *     Buffer[]); let L be the text's length in bytes:
 *       - size 0 or a null buffer: nothing copied, returns L + 1 (a size query);
 *       - size > L: the text and its zero copied, returns 0;
 *       - size 1 .. L: size - 1 bytes and a zero copied, returns L + 1;
 *       - size < 0: the caller promises room: all copied, returns 0.
 *   - motqr_self_test, motqr_error_query, motqr_error_message and
 *     motqr_revision_query write into fixed buffers of 256 bytes (MOTQR_MAX_MESSAGE_BUF_SIZE)
 *     that the caller provides; a longer text is cut and L + 1 returned.
 *   - Array inputs take an element count and the array. Array results take a
 *     buffer size in elements, the array and a pointer to the actual size: at
 *     most the buffer size of elements are copied and the number copied is
 *     stored. With a null array pointer nothing is copied and the actual size
 *     is left as it was. motqr_GetCurrentIVMap and motqr_GetVoltageIVMap read
 *     the map straight into the buffer (points the instrument does not send
 *     read 0): after a failure it may hold part of the map.
 *   - Functions that return a list of names (motqr_QueryProgramChain and the
 *     three time-zone list functions) return it as ONE text, the names joined
 *     by commas ("Prog1,Prog2"), under the text-result rules above.
 *
 * @par Channels
 *   Channel-based functions take a channel selector: "OutputChannel1", a virtual
 *   name from the IVI configuration store, "" (the only output), a comma list
 *   ("OutputChannel1, OutputChannel1"), or a range ("OutputChannel1-OutputChannel1").
 *   Functions that set or act apply to every channel named, in order, stopping
 *   at the first failure; functions that return a value use the first one and
 *   accept no ranges.
 *
 * @par Booleans
 *   ViBoolean is 16-bit: VI_FALSE (0) and VI_TRUE (1); any non-zero value passed
 *   in counts as true.
 *
 * This header compiles as C99 and C++.
 */
#ifndef MOTQR_H
#define MOTQR_H

/** @defgroup visa_types VISA types
    Defined here unless the program already has VISA's visatype.h.
    @{ */

#ifndef __VISATYPE_HEADER__
#ifndef _VI_INT64_UINT64_DEFINED
#define _VI_INT64_UINT64_DEFINED
typedef long long ViInt64;
typedef unsigned long long ViUInt64;
#endif
typedef unsigned int ViUInt32;
typedef signed int ViInt32;
typedef unsigned short ViUInt16;
typedef signed short ViInt16;
typedef unsigned char ViUInt8;
typedef signed char ViInt8;
typedef char ViChar;
typedef unsigned char ViByte;
typedef void* ViAddr;
typedef double ViReal64;
typedef ViUInt16 ViBoolean;
typedef ViInt32 ViStatus;
typedef ViUInt32 ViObject;
typedef ViObject ViSession;
typedef ViUInt32 ViAttr;
typedef ViChar* ViString;
typedef const ViChar* ViConstString;
typedef ViString ViRsrc;
typedef ViConstString ViConstRsrc;
typedef ViByte* ViBuf;
typedef const ViByte* ViConstBuf;
#endif

#ifndef VI_NULL
#define VI_NULL 0
#endif
#ifndef VI_TRUE
#define VI_TRUE (1)
#endif
#ifndef VI_FALSE
#define VI_FALSE (0)
#endif
#ifndef VI_SUCCESS
#define VI_SUCCESS (0)
#endif

/** @} */

/** Size of the fixed message buffers of motqr_self_test, motqr_error_query,
   motqr_error_message and motqr_revision_query. */
#define MOTQR_MAX_MESSAGE_BUF_SIZE 256

#if defined(__GNUC__)
#define MOTQR_API __attribute__((visibility("default")))
#else
#define MOTQR_API
#endif
#define MOTQR_FUNC

#ifdef __cplusplus
extern "C" {
#endif

/** @defgroup status_codes Status codes
    0 success, negative an error, positive a warning. motqr_error_message gives the generic
    text of a code; motqr_GetError the text of a session's last failure.
    @{ */

#define MOTQR_SUCCESS 0
#define MOTQR_ERROR_CANNOT_RECOVER (-1074135040)                       /**< 0xBFFA0000 */
#define MOTQR_ERROR_INSTRUMENT_STATUS (-1074135039)                    /**< 0xBFFA0001 */
#define MOTQR_ERROR_CANNOT_OPEN_FILE (-1074135038)                     /**< 0xBFFA0002 */
#define MOTQR_ERROR_READING_FILE (-1074135037)                         /**< 0xBFFA0003 */
#define MOTQR_ERROR_WRITING_FILE (-1074135036)                         /**< 0xBFFA0004 */
#define MOTQR_ERROR_INVALID_PATHNAME (-1074135029)                     /**< 0xBFFA000B */
#define MOTQR_ERROR_INVALID_VALUE (-1074135024)                        /**< 0xBFFA0010 */
#define MOTQR_ERROR_METHOD_NOT_SUPPORTED (-1074135023)                 /**< 0xBFFA0011 */
#define MOTQR_ERROR_PROPERTY_NOT_SUPPORTED (-1074135022)               /**< 0xBFFA0012 */
#define MOTQR_ERROR_VALUE_NOT_SUPPORTED (-1074135021)                  /**< 0xBFFA0013 */
#define MOTQR_ERROR_NOT_INITIALIZED (-1074135011)                      /**< 0xBFFA001D */
#define MOTQR_ERROR_UNKNOWN_CHANNEL_NAME (-1074135008)                 /**< 0xBFFA0020 */
#define MOTQR_ERROR_TOO_MANY_OPEN_FILES (-1074135005)                  /**< 0xBFFA0023 */
#define MOTQR_ERROR_CHANNEL_NAME_REQUIRED (-1074134972)                /**< 0xBFFA0044 */
#define MOTQR_ERROR_MISSING_OPTION_NAME (-1074134967)                  /**< 0xBFFA0049 */
#define MOTQR_ERROR_MISSING_OPTION_VALUE (-1074134966)                 /**< 0xBFFA004A */
#define MOTQR_ERROR_BAD_OPTION_NAME (-1074134965)                      /**< 0xBFFA004B */
#define MOTQR_ERROR_BAD_OPTION_VALUE (-1074134964)                     /**< 0xBFFA004C */
#define MOTQR_ERROR_OUT_OF_MEMORY (-1074134954)                        /**< 0xBFFA0056 */
#define MOTQR_ERROR_OPERATION_PENDING (-1074134953)                    /**< 0xBFFA0057 */
#define MOTQR_ERROR_NULL_POINTER (-1074134952)                         /**< 0xBFFA0058 */
#define MOTQR_ERROR_UNEXPECTED_RESPONSE (-1074134951)                  /**< 0xBFFA0059 */
#define MOTQR_ERROR_FILE_NOT_FOUND (-1074134949)                       /**< 0xBFFA005B */
#define MOTQR_ERROR_INVALID_FILE_FORMAT (-1074134948)                  /**< 0xBFFA005C */
#define MOTQR_ERROR_STATUS_NOT_AVAILABLE (-1074134947)                 /**< 0xBFFA005D */
#define MOTQR_ERROR_ID_QUERY_FAILED (-1074134946)                      /**< 0xBFFA005E */
#define MOTQR_ERROR_RESET_FAILED (-1074134945)                         /**< 0xBFFA005F */
#define MOTQR_ERROR_RESOURCE_UNKNOWN (-1074134944)                     /**< 0xBFFA0060 */
#define MOTQR_ERROR_ALREADY_INITIALIZED (-1074134943)                  /**< 0xBFFA0061 */
#define MOTQR_ERROR_CANNOT_CHANGE_SIMULATION_STATE (-1074134942)       /**< 0xBFFA0062 */
#define MOTQR_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR (-1074134941) /**< 0xBFFA0063 */
#define MOTQR_ERROR_INVALID_RANGE_IN_SELECTOR (-1074134940)            /**< 0xBFFA0064 */
#define MOTQR_ERROR_UNKNOWN_NAME_IN_SELECTOR (-1074134939)             /**< 0xBFFA0065 */
#define MOTQR_ERROR_BADLY_FORMED_SELECTOR (-1074134938)                /**< 0xBFFA0066 */
#define MOTQR_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER (-1074134937)          /**< 0xBFFA0067 */
#define MOTQR_WARN_NSUP_ID_QUERY (1073348709)                          /**< 0x3FFA0065 */
#define MOTQR_WARN_NSUP_RESET (1073348710)                             /**< 0x3FFA0066 */
#define MOTQR_WARN_NSUP_SELF_TEST (1073348711)                         /**< 0x3FFA0067 */
#define MOTQR_WARN_NSUP_ERROR_QUERY (1073348712)                       /**< 0x3FFA0068 */
#define MOTQR_WARN_NSUP_REV_QUERY (1073348713)                         /**< 0x3FFA0069 */
#define MOTQR_ERROR_IO_GENERAL (-1074118124)                           /**< 0xBFFA4214 */
#define MOTQR_ERROR_IO_TIMEOUT (-1074118123)                           /**< 0xBFFA4215 */
#define MOTQR_ERROR_MODEL_NOT_SUPPORTED (-1074118122)                  /**< 0xBFFA4216 */
#define MOTQR_ERROR_TRIGGER_NOT_SOFTWARE (-1074130943)                 /**< 0xBFFA1001 */
#define MOTQR_ERROR_INVALID_ATTRIBUTE (-1074135028)                    /**< 0xBFFA000C */
#define MOTQR_ERROR_ATTRIBUTE_NOT_WRITABLE (-1074135027)               /**< 0xBFFA000D */
#define MOTQR_ERROR_ATTRIBUTE_NOT_READABLE (-1074135026)               /**< 0xBFFA000E */
#define MOTQR_ERROR_TYPES_DO_NOT_MATCH (-1074135019)                   /**< 0xBFFA0015 */
#define MOTQR_ERROR_INVALID_SESSION_HANDLE (-1074130544)               /**< 0xBFFA1190 */
/** A failure of the driver object that has no C code of its own; motqr_GetError has its text. */
#define MOTQR_ERROR_UNMAPPED (-2147483647 - 1) /**< 0x80000000 */

/** @} */

/** @defgroup attribute_ids Attribute identifiers
    For the motqr_GetAttribute... and motqr_SetAttribute... functions. Each comment gives
    the value's type, its access, "channel" when a channel name must be passed, and
    "session 0 allowed" when the value can be read without a session.
    @{ */

#define MOTQR_ATTR_RANGE_CHECK 1050002             /**< ViBoolean, read/write */
#define MOTQR_ATTR_QUERY_INSTRUMENT_STATUS 1050003 /**< ViBoolean, read/write */
#define MOTQR_ATTR_CACHE 1050004                   /**< ViBoolean, read/write */
#define MOTQR_ATTR_SIMULATE 1050005                /**< ViBoolean, read/write */
#define MOTQR_ATTR_RECORD_COERCIONS 1050006        /**< ViBoolean, read/write */
#define MOTQR_ATTR_DRIVER_SETUP 1050007            /**< ViString, read-only */
#define MOTQR_ATTR_INTERCHANGE_CHECK 1050021       /**< ViBoolean, read/write */
#define MOTQR_ATTR_CHANNEL_COUNT 1050203           /**< ViInt32, read-only */
#define MOTQR_ATTR_SPECIFIC_DRIVER_PREFIX 1050302  /**< ViString, read-only, session 0 allowed */
#define MOTQR_ATTR_LOGICAL_NAME 1050305            /**< ViString, read-only */
/** ViString, read-only, session 0 allowed */
#define MOTQR_ATTR_SUPPORTED_INSTRUMENT_MODELS 1050327
#define MOTQR_ATTR_GROUP_CAPABILITIES 1050401 /**< ViString, read-only, session 0 allowed */
#define MOTQR_ATTR_INSTRUMENT_FIRMWARE_REVISION 1050510 /**< ViString, read-only */
#define MOTQR_ATTR_SPECIFIC_DRIVER_VENDOR 1050513 /**< ViString, read-only, session 0 allowed */
/** ViString, read-only, session 0 allowed */
#define MOTQR_ATTR_SPECIFIC_DRIVER_DESCRIPTION 1050514
/** ViInt32, read-only, session 0 allowed */
#define MOTQR_ATTR_SPECIFIC_DRIVER_CLASS_SPEC_MAJOR_VERSION 1050515
/** ViInt32, read-only, session 0 allowed */
#define MOTQR_ATTR_SPECIFIC_DRIVER_CLASS_SPEC_MINOR_VERSION 1050516
#define MOTQR_ATTR_SPECIFIC_DRIVER_REVISION 1050551 /**< ViString, read-only, session 0 allowed */
#define MOTQR_ATTR_IO_TIMEOUT 1150001               /**< ViInt32, read/write */
#define MOTQR_ATTR_CURRENT_LEVEL 1150002            /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_SEAMLESS_CURRENT_LEVEL 1150003   /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_MODE 1150004             /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_CURRENT_SLEW_RATE 1150005        /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_RESPONSE_SPEED 1150006   /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_NEGATIVE_CURRENT_LEVEL 1150007   /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OUTPUT_VOLTAGE_LEVEL 1150008     /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_MODE 1150009             /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_RESPONSE_SPEED 1150010   /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_POWER_LEVEL 1150011              /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_POWER_MODE 1150012               /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_NEGATIVE_POWER_LEVEL 1150013     /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_SEAMLESS_POWER_LEVEL 1150014     /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_ENABLED 1150015                  /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_POWER_ON_MODE 1150016            /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_MSYNC_ACCEPT_ENABLED 1150017     /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_PRIORITY 1150018                 /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_IMPEDANCE_MODE 1150019           /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_IR_LEVEL 1150020                 /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_REMOTE_SENSING_ERROR_ENABLED 1150021     /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_WATCHDOG_ENABLED 1150022                 /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_WATCHDOG_TIME 1150023                    /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OCP_LEVEL 1150024                        /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OCP_GRACE_TIME 1150025                   /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_NOCP_LEVEL 1150026                       /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OPP_LEVEL 1150027                        /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_NOPP_LEVEL 1150028                       /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_LOWER_OVP_LEVEL 1150029                  /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_LOWER_OVP_ENABLED 1150030                /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_OVP_LEVEL 1150031                        /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_LINE_VOLTAGE 1150032                     /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_SLEW_RATE 1150033                /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_DUTY_CYCLE 1150034               /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_PULSE_FREQUENCY 1150035          /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_HIGH_LEVEL 1150036               /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_LOW_LEVEL 1150037                /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_DUTY_CYCLE 1150038               /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_PULSE_FREQUENCY 1150039          /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_HIGH_LEVEL 1150040               /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_LOW_LEVEL 1150041                /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_AMPLITUDE 1150042                /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_SINE_FREQUENCY 1150043           /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_OFFSET 1150044                   /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_AMPLITUDE 1150045                /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_SINE_FREQUENCY 1150046           /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_OFFSET 1150047                   /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_IV_POINT_COUNT 1150048           /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_VOLTAGE_IV_POINT_COUNT 1150049           /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_PROGRAM_LOOP_COUNT 1150050               /**< ViInt32, read/write */
#define MOTQR_ATTR_PROGRAM_CURRENT_FUNCTION_MODE 1150052    /**< ViInt32, read/write */
#define MOTQR_ATTR_PROGRAM_POWER_FUNCTION_MODE 1150053      /**< ViInt32, read/write */
#define MOTQR_ATTR_PROGRAM_STEP_COUNT 1150055               /**< ViInt32, read/write */
#define MOTQR_ATTR_APERTURE_TIME 1150056                    /**< ViReal64, read/write */
#define MOTQR_ATTR_ANALOG_CONTROL_SELECTED_RANGE 1150057    /**< ViReal64, read/write */
#define MOTQR_ATTR_ANALOG_CONTROL_VOLTAGE_RANGE 1150058     /**< ViReal64, read/write */
#define MOTQR_ATTR_ANALOG_MONITOR_CURRENT_RANGE 1150059     /**< ViReal64, read/write */
#define MOTQR_ATTR_ANALOG_MONITOR_VOLTAGE_RANGE 1150060     /**< ViReal64, read/write */
#define MOTQR_ATTR_IO_ENABLED 1150061                       /**< ViBoolean, read/write */
#define MOTQR_ATTR_KEY_LOCK_ENABLED 1150062                 /**< ViBoolean, read/write */
#define MOTQR_ATTR_KEY_LOCK_LEVEL 1150063                   /**< ViInt32, read/write */
#define MOTQR_ATTR_REMOTE_LOCAL_STATE 1150064               /**< ViInt32, read/write */
#define MOTQR_ATTR_PARALLEL_UNIT 1150065                    /**< ViInt32, read-only */
#define MOTQR_ATTR_MSYNC_ENABLED 1150066                    /**< ViBoolean, read-only */
#define MOTQR_ATTR_POWER_ON_RECALL_STATE 1150067            /**< ViInt32, read/write */
#define MOTQR_ATTR_REMOTE_SENSING_ENABLED 1150068           /**< ViBoolean, read/write */
#define MOTQR_ATTR_QUESTIONABLE_CONDITION_REGISTER 1150069  /**< ViInt32, read-only */
#define MOTQR_ATTR_QUESTIONABLE_ENABLE_REGISTER 1150070     /**< ViInt32, read/write */
#define MOTQR_ATTR_QUESTIONABLE_EVENT_REGISTER 1150071      /**< ViInt32, read-only */
#define MOTQR_ATTR_QUESTIONABLE_NEGATIVE_TRANSITION 1150072 /**< ViInt32, read/write */
#define MOTQR_ATTR_QUESTIONABLE_POSITIVE_TRANSITION 1150073 /**< ViInt32, read/write */
#define MOTQR_ATTR_OPERATION_CONDITION_REGISTER 1150074     /**< ViInt32, read-only */
#define MOTQR_ATTR_OPERATION_ENABLE_REGISTER 1150075        /**< ViInt32, read/write */
#define MOTQR_ATTR_OPERATION_EVENT_REGISTER 1150076         /**< ViInt32, read-only */
#define MOTQR_ATTR_OPERATION_NEGATIVE_TRANSITION 1150077    /**< ViInt32, read/write */
#define MOTQR_ATTR_OPERATION_POSITIVE_TRANSITION 1150078    /**< ViInt32, read/write */
#define MOTQR_ATTR_ACQUIRE_TRIGGER_SOURCE 1150079           /**< ViInt32, read/write */
#define MOTQR_ATTR_ACQUIRE_TRIGGER_COUNT 1150080            /**< ViInt32, read/write */
#define MOTQR_ATTR_ACQUIRE_TRIGGER_DELAY 1150081            /**< ViReal64, read/write */
#define MOTQR_ATTR_ACQUIRE_INTERVAL_ENABLED 1150082         /**< ViBoolean, read/write */
#define MOTQR_ATTR_ACQUIRE_INTERVAL 1150083                 /**< ViReal64, read/write */
#define MOTQR_ATTR_TRANSIENT_TRIGGER_SOURCE 1150084         /**< ViInt32, read/write */
#define MOTQR_ATTR_TIME_ZONE 1150085                        /**< ViString, read/write */
#define MOTQR_ATTR_ACTIVATE 1150086                         /**< ViInt32, read/write */
#define MOTQR_ATTR_VOLTAGE_LEVEL 1250001                    /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OVP_ENABLED 1250002                      /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_OVP_LIMIT 1250003                        /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_CURRENT_LIMIT_BEHAVIOR 1250004           /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_CURRENT_LIMIT 1250005                    /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_OUTPUT_ENABLED 1250006                   /**< ViBoolean, read/write, channel */
#define MOTQR_ATTR_TRIGGER_SOURCE 1250101                   /**< ViInt32, read/write, channel */
#define MOTQR_ATTR_TRIGGERED_CURRENT_LIMIT 1250102          /**< ViReal64, read/write, channel */
#define MOTQR_ATTR_TRIGGERED_VOLTAGE_LEVEL 1250103          /**< ViReal64, read/write, channel */

/** @} */

/** @defgroup enum_values Enumeration values
    The ViInt32 values of the driver's enumerations, one group per enumeration.
    @{ */
/* BEGIN enumeration values: one constant per value of the driver's enumerations. */
/** @name MorvaneTqrOutputFunctionModeEnum
    @{ */
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_DC 0
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_IV 1
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_PULSE 2
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_SINE 3
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_EXTERNAL 4
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_D_SEAMLESS 5
#define MOTQR_VAL_OUTPUT_FUNCTION_MODE_E_SEAMLESS 6
/** @} */
/** @name MorvaneTqrResponseSpeedEnum
    @{ */
#define MOTQR_VAL_RESPONSE_SPEED_SLOW 0
#define MOTQR_VAL_RESPONSE_SPEED_FAST 1
/** @} */
/** @name MorvaneTqrMeasurementTypeEnum
    @{ */
#define MOTQR_VAL_MEASUREMENT_TYPE_VOLTAGE 0
#define MOTQR_VAL_MEASUREMENT_TYPE_CURRENT 1
#define MOTQR_VAL_MEASUREMENT_TYPE_POWER 2
#define MOTQR_VAL_MEASUREMENT_TYPE_E_TIME 3
#define MOTQR_VAL_MEASUREMENT_TYPE_CAPACITY 4
#define MOTQR_VAL_MEASUREMENT_TYPE_ENERGY 5
/** @} */
/** @name MorvaneTqrPowerOnModeEnum
    @{ */
#define MOTQR_VAL_POWER_ON_MODE_SAFE 0
#define MOTQR_VAL_POWER_ON_MODE_AUTO 1
#define MOTQR_VAL_POWER_ON_MODE_FORCE 2
/** @} */
/** @name MorvaneTqrOutputPriorityEnum
    @{ */
#define MOTQR_VAL_OUTPUT_PRIORITY_CV 0
#define MOTQR_VAL_OUTPUT_PRIORITY_CC 1
#define MOTQR_VAL_OUTPUT_PRIORITY_CP 2
#define MOTQR_VAL_OUTPUT_PRIORITY_CR 3
/** @} */
/** @name MorvaneTqrOutputOffImpedanceModeEnum
    @{ */
#define MOTQR_VAL_OUTPUT_OFF_IMPEDANCE_MODE_LOW 0
#define MOTQR_VAL_OUTPUT_OFF_IMPEDANCE_MODE_HIGH 1
/** @} */
/** @name MorvaneTqrDataIntegralGateStartStopConditionEnum
    @{ */
#define MOTQR_VAL_DATA_INTEGRAL_GATE_START_STOP_CONDITION_OUTPUT_STATE_ON_OFF 0
#define MOTQR_VAL_DATA_INTEGRAL_GATE_START_STOP_CONDITION_MANUAL 1
#define MOTQR_VAL_DATA_INTEGRAL_GATE_START_STOP_CONDITION_PROGRAM_RUNNING 2
#define MOTQR_VAL_DATA_INTEGRAL_GATE_START_STOP_CONDITION_EXTERNAL 3
/** @} */
/** @name MorvaneTqrDataIntegralGateResetMethodEnum
    @{ */
#define MOTQR_VAL_DATA_INTEGRAL_GATE_RESET_METHOD_AUTO 0
#define MOTQR_VAL_DATA_INTEGRAL_GATE_RESET_METHOD_MANUAL 1
#define MOTQR_VAL_DATA_INTEGRAL_GATE_RESET_METHOD_EXTERNAL 2
/** @} */
/** @name MorvaneTqrProgramCurrentFunctionModeEnum
    @{ */
#define MOTQR_VAL_PROGRAM_CURRENT_FUNCTION_MODE_DC 0
#define MOTQR_VAL_PROGRAM_CURRENT_FUNCTION_MODE_DC_SEAMLESS 1
/** @} */
/** @name MorvaneTqrProgramPowerFunctionModeEnum
    @{ */
#define MOTQR_VAL_PROGRAM_POWER_FUNCTION_MODE_PROGRAM_POWER_FUNCTION_MODE_DC 0
#define MOTQR_VAL_PROGRAM_POWER_FUNCTION_MODE_DC_SEAMLESS 1
/** @} */
/** @name MorvaneTqrProgramStepTransitionEnum
    @{ */
#define MOTQR_VAL_PROGRAM_STEP_TRANSITION_OFF 0
#define MOTQR_VAL_PROGRAM_STEP_TRANSITION_MODE 1
/** @} */
/** @name MorvaneTqrProgramStepFunctionModeEnum
    @{ */
#define MOTQR_VAL_PROGRAM_STEP_FUNCTION_MODE_DC 0
#define MOTQR_VAL_PROGRAM_STEP_FUNCTION_MODE_IR 1
#define MOTQR_VAL_PROGRAM_STEP_FUNCTION_MODE_CV_SINE 2
#define MOTQR_VAL_PROGRAM_STEP_FUNCTION_MODE_CC_SINE 3
/** @} */
/** @name MorvaneTqrPositiveNegativeEnum
    @{ */
#define MOTQR_VAL_POSITIVE_NEGATIVE_POSITIVE 0
#define MOTQR_VAL_POSITIVE_NEGATIVE_NEGATIVE 1
/** @} */
/** @name MorvaneTqrProgramStepRampEnum
    @{ */
#define MOTQR_VAL_PROGRAM_STEP_RAMP_IMMEDIATE 0
#define MOTQR_VAL_PROGRAM_STEP_RAMP_CV 1
#define MOTQR_VAL_PROGRAM_STEP_RAMP_CC 2
#define MOTQR_VAL_PROGRAM_STEP_RAMP_CP 3
/** @} */
/** @name MorvaneTqrTriggerEnum
    @{ */
#define MOTQR_VAL_TRIGGER_IMMEDIATE 0
#define MOTQR_VAL_TRIGGER_BUS 1
#define MOTQR_VAL_TRIGGER_EXTERNAL 2
#define MOTQR_VAL_TRIGGER_M_SYNC 3
/** @} */
/** @name MorvaneTqrProgramStepSignalEnum
    @{ */
#define MOTQR_VAL_PROGRAM_STEP_SIGNAL_NONE 0
#define MOTQR_VAL_PROGRAM_STEP_SIGNAL_DC 1
#define MOTQR_VAL_PROGRAM_STEP_SIGNAL_PULSE 2
/** @} */
/** @name MorvaneTqrIOInputFilterEnum
    @{ */
#define MOTQR_VAL_IO_INPUT_FILTER_SLOW 0
#define MOTQR_VAL_IO_INPUT_FILTER_FAST 1
/** @} */
/** @name MorvaneTqrIOInputFunctionEnum
    @{ */
#define MOTQR_VAL_IO_INPUT_FUNCTION_NONE 0
#define MOTQR_VAL_IO_INPUT_FUNCTION_OUTPUT_ON 1
#define MOTQR_VAL_IO_INPUT_FUNCTION_OUTPUT_OFF 2
#define MOTQR_VAL_IO_INPUT_FUNCTION_OUTPUT_CONTROL 3
#define MOTQR_VAL_IO_INPUT_FUNCTION_LOW_ALARM_IN 4
#define MOTQR_VAL_IO_INPUT_FUNCTION_ALARM_CLEAR 5
#define MOTQR_VAL_IO_INPUT_FUNCTION_TRANSIENT_INITIATE 6
#define MOTQR_VAL_IO_INPUT_FUNCTION_TRANSIENT_PAUSE 7
#define MOTQR_VAL_IO_INPUT_FUNCTION_INTEGRAL_START_STOP 8
#define MOTQR_VAL_IO_INPUT_FUNCTION_INTEGRAL_RESET 9
#define MOTQR_VAL_IO_INPUT_FUNCTION_TRIGGER_ACQUIRE_IN 10
#define MOTQR_VAL_IO_INPUT_FUNCTION_TRIGGER_TRANSIENT_IN 11
#define MOTQR_VAL_IO_INPUT_FUNCTION_RECALL_MEMORY1 12
#define MOTQR_VAL_IO_INPUT_FUNCTION_RECALL_MEMORY2 13
/** @} */
/** @name MorvaneTqrIOPolarityEnum
    @{ */
#define MOTQR_VAL_IO_POLARITY_NORMAL 0
#define MOTQR_VAL_IO_POLARITY_INVERSE 1
/** @} */
/** @name MorvaneTqrIOOutputFunctionEnum
    @{ */
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_NONE 0
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_OUTPUT_ON 1
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_POWER_ON 2
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_HIGH_ALARM_OUT 3
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_LOW_ALARM_OUT 4
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_CC_STATUS 5
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_CV_STATUS 6
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_PROGRAM_TRIGGER_OUT 7
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_PROGRAM_RUN 8
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_EXTERNAL_DIGITAL_IN_BUSY 9
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_RECALL_MEMORY1 10
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_RECALL_MEMORY2 11
#define MOTQR_VAL_IO_OUTPUT_FUNCTION_DRIVE_RELAY 12
/** @} */
/** @name MorvaneTqrTimeZoneGroupEnum
    @{ */
#define MOTQR_VAL_TIME_ZONE_GROUP_TIME_ZONE1 0
#define MOTQR_VAL_TIME_ZONE_GROUP_TIME_ZONE2 1
/** @} */
/** @name MorvaneTqrRemoteLocalStateEnum
    @{ */
#define MOTQR_VAL_REMOTE_LOCAL_STATE_LOCAL 0
#define MOTQR_VAL_REMOTE_LOCAL_STATE_REMOTE 1
#define MOTQR_VAL_REMOTE_LOCAL_STATE_REMOTE_LOCAL_LOCK_OUT 2
/** @} */
/** @name MorvaneTqrPowerOnRecallStateEnum
    @{ */
#define MOTQR_VAL_POWER_ON_RECALL_STATE_RESET 0
#define MOTQR_VAL_POWER_ON_RECALL_STATE_RECALL 1
#define MOTQR_VAL_POWER_ON_RECALL_STATE_AUTO 2
/** @} */
/** @name MorvaneTqrAcquireTriggerSourceEnum
    @{ */
#define MOTQR_VAL_ACQUIRE_TRIGGER_SOURCE_IMMEDIATE 0
#define MOTQR_VAL_ACQUIRE_TRIGGER_SOURCE_BUS 1
#define MOTQR_VAL_ACQUIRE_TRIGGER_SOURCE_EXTERNAL 2
#define MOTQR_VAL_ACQUIRE_TRIGGER_SOURCE_M_SYNC 3
#define MOTQR_VAL_ACQUIRE_TRIGGER_SOURCE_OUTPUT_STATUS_OFF 4
/** @} */
/** @name MorvaneTqrTriggerSystemEnum
    @{ */
#define MOTQR_VAL_TRIGGER_SYSTEM_ALL 0
#define MOTQR_VAL_TRIGGER_SYSTEM_ACQUIRE 1
#define MOTQR_VAL_TRIGGER_SYSTEM_PROGRAM 2
/** @} */
/** @name MorvaneTqrTransientTriggerSourceEnum
    @{ */
#define MOTQR_VAL_TRANSIENT_TRIGGER_SOURCE_IMMEDIATE 0
#define MOTQR_VAL_TRANSIENT_TRIGGER_SOURCE_BUS 1
#define MOTQR_VAL_TRANSIENT_TRIGGER_SOURCE_EXTERNAL 2
#define MOTQR_VAL_TRANSIENT_TRIGGER_SOURCE_M_SYNC 3
/** @} */
/** @name MorvaneTqrBeepEnum
    @{ */
#define MOTQR_VAL_BEEP_ALL 0
#define MOTQR_VAL_BEEP_PROTECTION 1
#define MOTQR_VAL_BEEP_KEY 2
/** @} */
/** @name MorvaneTqrTransientStateEnum
    @{ */
#define MOTQR_VAL_TRANSIENT_STATE_IDLE 0
#define MOTQR_VAL_TRANSIENT_STATE_WATI_TRIGGER 1
#define MOTQR_VAL_TRANSIENT_STATE_RUN 2
#define MOTQR_VAL_TRANSIENT_STATE_PAUSE 3
/** @} */
/** @name MorvaneTqrErrorCodesEnum
    @{ */
#define MOTQR_VAL_MORVANETQR_IO_GENERAL (-2147204588)
#define MOTQR_VAL_MORVANETQR_IO_TIMEOUT (-2147204587)
#define MOTQR_VAL_MORVANETQR_MODEL_NOT_SUPPORTED (-2147204586)
/** @} */
/** @name IviDCPwrCurrentLimitBehaviorEnum
    @{ */
#define MOTQR_VAL_CURRENT_LIMIT_REGULATE 0
#define MOTQR_VAL_CURRENT_LIMIT_TRIP 1
/** @} */
/** @name IviDCPwrMeasurementTypeEnum
    @{ */
#define MOTQR_VAL_MEASUREMENT_CURRENT 0
#define MOTQR_VAL_MEASUREMENT_VOLTAGE 1
/** @} */
/** @name IviDCPwrRangeTypeEnum
    @{ */
#define MOTQR_VAL_RANGE_CURRENT 0
#define MOTQR_VAL_RANGE_VOLTAGE 1
/** @} */
/** @name IviDCPwrOutputStateEnum
    @{ */
#define MOTQR_VAL_OUTPUT_CONSTANT_VOLTAGE 0
#define MOTQR_VAL_OUTPUT_CONSTANT_CURRENT 1
#define MOTQR_VAL_OUTPUT_OVER_VOLTAGE 2
#define MOTQR_VAL_OUTPUT_OVER_CURRENT 3
#define MOTQR_VAL_OUTPUT_UNREGULATED 4
/** @} */
/** @name IviDCPwrTriggerSourceEnum
    @{ */
#define MOTQR_VAL_TRIGGER_SOURCE_IMMEDIATE 0
#define MOTQR_VAL_TRIGGER_SOURCE_EXTERNAL 1
#define MOTQR_VAL_TRIGGER_SOURCE_SW_TRIG_FUNC 2
#define MOTQR_VAL_TRIGGER_SOURCE_TTL0 3
#define MOTQR_VAL_TRIGGER_SOURCE_TTL1 4
#define MOTQR_VAL_TRIGGER_SOURCE_TTL2 5
#define MOTQR_VAL_TRIGGER_SOURCE_TTL3 6
#define MOTQR_VAL_TRIGGER_SOURCE_TTL4 7
#define MOTQR_VAL_TRIGGER_SOURCE_TTL5 8
#define MOTQR_VAL_TRIGGER_SOURCE_TTL6 9
#define MOTQR_VAL_TRIGGER_SOURCE_TTL7 10
#define MOTQR_VAL_TRIGGER_SOURCE_ECL0 11
#define MOTQR_VAL_TRIGGER_SOURCE_ECL1 12
#define MOTQR_VAL_TRIGGER_SOURCE_PXI_STAR 13
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI0 14
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI1 15
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI2 16
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI3 17
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI4 18
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI5 19
#define MOTQR_VAL_TRIGGER_SOURCE_RTSI6 20
/** @} */
/* END enumeration values */

/** @} */

/** @defgroup sessions Sessions
    Opening and closing a session, its last error, and holding it over several calls.
    @{ */

/** Opens a session with an empty option string; see motqr_InitWithOptions. */
MOTQR_API ViStatus MOTQR_FUNC motqr_init(ViRsrc ResourceName, ViBoolean IdQuery, ViBoolean Reset,
                                         ViSession* vi);
/** Opens a session on the instrument at ResourceName
    ("TCPIP::host::5025::SOCKET", "ASRL/dev/ttyUSB0::INSTR", a VISA resource, or a logical
    name of the IVI configuration store). The instrument is identified ("*IDN?"); IdQuery
    also checks that its model is a TQR-M1 .. TQR-M7, Reset resets it ("*RST;*OPC?").
    OptionString: "Simulate=true, QueryInstrStatus=true, DriverSetup=Model=TQR-M2" and the
    like. On failure *vi stays VI_NULL and motqr_GetError(VI_NULL, ...) has the text. */
MOTQR_API ViStatus MOTQR_FUNC motqr_InitWithOptions(ViRsrc ResourceName, ViBoolean IdQuery,
                                                    ViBoolean Reset, ViConstString OptionString,
                                                    ViSession* vi);
/** Closes the session and its connection; vi is invalid afterwards. */
MOTQR_API ViStatus MOTQR_FUNC motqr_close(ViSession vi);
/** Copies the session's last error (status and text) and clears it.
    vi = VI_NULL reads the calling thread's error of calls without a session. */
MOTQR_API ViStatus MOTQR_FUNC motqr_GetError(ViSession vi, ViStatus* ErrorCode, ViInt32 BufferSize,
                                             ViChar Description[]);
/** Clears the session's last error. */
MOTQR_API ViStatus MOTQR_FUNC motqr_ClearError(ViSession vi);
/** Keeps other threads out of the session until motqr_UnlockSession
    (recursive). With a non-null CallerHasLock, locks only when *CallerHasLock is VI_FALSE and
    then sets it. */
MOTQR_API ViStatus MOTQR_FUNC motqr_LockSession(ViSession vi, ViBoolean* CallerHasLock);
/** Releases one motqr_LockSession. With a non-null CallerHasLock,
    unlocks only when *CallerHasLock is VI_TRUE and then clears it. */
MOTQR_API ViStatus MOTQR_FUNC motqr_UnlockSession(ViSession vi, ViBoolean* CallerHasLock);

/** @} */

/** @defgroup utility Utility, error message, operation records, channel name, direct I/O
    Reset, self test, the instrument's error queue, revisions, and raw I/O on the session.
    @{ */

/** Resets the instrument ("*RST;*OPC?"). */
MOTQR_API ViStatus MOTQR_FUNC motqr_reset(ViSession vi);
/** Resets the instrument, then restores the option flags given at open. */
MOTQR_API ViStatus MOTQR_FUNC motqr_ResetWithDefaults(ViSession vi);
/** Puts the instrument in a safe state ("*RST;*OPC?"). */
MOTQR_API ViStatus MOTQR_FUNC motqr_Disable(ViSession vi);
/** Runs the instrument's self test ("*TST?", 2 s): 0 and "Selftest passed",
    or its non-zero result and "Selftest failed". */
MOTQR_API ViStatus MOTQR_FUNC motqr_self_test(ViSession vi, ViInt16* TestResult,
                                              ViChar TestMessage[]);
/** Reads one entry of the instrument's error queue (":SYST:ERR?"); call
    until ErrorCode is 0 to empty it. */
MOTQR_API ViStatus MOTQR_FUNC motqr_error_query(ViSession vi, ViInt32* ErrorCode,
                                                ViChar ErrorMessage[]);
/** The driver's revision and the instrument's firmware revision. */
MOTQR_API ViStatus MOTQR_FUNC motqr_revision_query(ViSession vi, ViChar DriverRev[],
                                                   ViChar InstrRev[]);
/** The generic text of any status code (empty when unknown); vi may be
    VI_NULL. */
MOTQR_API ViStatus MOTQR_FUNC motqr_error_message(ViSession vi, ViStatus ErrorCode,
                                                  ViChar ErrorMessage[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNextCoercionRecord(ViSession vi, ViInt32 BufferSize,
                                                          ViChar CoercionRecord[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNextInterchangeWarning(ViSession vi, ViInt32 BufferSize,
                                                              ViChar InterchangeWarning[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ClearInterchangeWarnings(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_ResetInterchangeCheck(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_InvalidateAllAttributes(ViSession vi);
/** The name of channel Index (1-based): "OutputChannel1". */
MOTQR_API ViStatus MOTQR_FUNC motqr_GetChannelName(ViSession vi, ViInt32 Index, ViInt32 BufferSize,
                                                   ViChar Name[]);
/** Writes Count raw bytes to the instrument, as given (add the line feed
    yourself); *ReturnCount receives the number written. */
MOTQR_API ViStatus MOTQR_FUNC motqr_viWrite(ViSession vi, ViInt64 Count, ViConstBuf Buffer,
                                            ViInt64* ReturnCount);
/** Reads at most BufferSize bytes of the instrument's reply; *ReturnCount
    receives the number read. */
MOTQR_API ViStatus MOTQR_FUNC motqr_viRead(ViSession vi, ViInt64 BufferSize, ViBuf Buffer,
                                           ViInt64* ReturnCount);

/** @} */

/** @defgroup channel_operations Operations on an output channel
    ChannelName is a channel selector (see Channels above): "OutputChannel1" or "" for the
    supply's one output.
    @{ */

MOTQR_API ViStatus MOTQR_FUNC motqr_Clear(ViSession vi, ViConstString ChannelName);
MOTQR_API ViStatus MOTQR_FUNC motqr_ClearCurrentIVMap(ViSession vi, ViConstString ChannelName);
MOTQR_API ViStatus MOTQR_FUNC motqr_ClearVoltageIVMap(ViSession vi, ViConstString ChannelName);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureCurrentLimit(ViSession vi, ViConstString ChannelName,
                                                          ViInt32 Behavior, ViReal64 Limit);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureOVP(ViSession vi, ViConstString ChannelName,
                                                 ViBoolean Enabled, ViReal64 Limit);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureOutputEnabled(ViSession vi, ViConstString ChannelName,
                                                           ViBoolean Enabled);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureOutputRange(ViSession vi, ViConstString ChannelName,
                                                         ViInt32 RangeType, ViReal64 Range);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureTriggerSource(ViSession vi, ViConstString ChannelName,
                                                           ViInt32 Source);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureTriggeredCurrentLimit(ViSession vi,
                                                                   ViConstString ChannelName,
                                                                   ViReal64 Limit);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureTriggeredVoltageLevel(ViSession vi,
                                                                   ViConstString ChannelName,
                                                                   ViReal64 Level);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureVoltageLevel(ViSession vi, ViConstString ChannelName,
                                                          ViReal64 Level);
MOTQR_API ViStatus MOTQR_FUNC motqr_DeleteCurrentIVPoint(ViSession vi, ViConstString ChannelName,
                                                         ViInt32 Index);
MOTQR_API ViStatus MOTQR_FUNC motqr_DeleteVoltageIVPoint(ViSession vi, ViConstString ChannelName,
                                                         ViInt32 Index);
MOTQR_API ViStatus MOTQR_FUNC motqr_ExecuteMSync(ViSession vi, ViConstString ChannelName,
                                                 ViBoolean MSync);
MOTQR_API ViStatus MOTQR_FUNC motqr_Fetch(ViSession vi, ViConstString ChannelName,
                                          ViInt32 MeasurementType, ViReal64* Measurement);
MOTQR_API ViStatus MOTQR_FUNC motqr_FetchAll(ViSession vi, ViConstString ChannelName,
                                             ViInt32 MeasurementsBufferSize,
                                             ViReal64 Measurements[],
                                             ViInt32* MeasurementsActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAllCurrentIVPoints(ViSession vi, ViConstString ChannelName,
                                                          ViInt32 AllPointsBufferSize,
                                                          ViReal64 AllPoints[],
                                                          ViInt32* AllPointsActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAllVoltageIVPoints(ViSession vi, ViConstString ChannelName,
                                                          ViInt32 AllPointsBufferSize,
                                                          ViReal64 AllPoints[],
                                                          ViInt32* AllPointsActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentIVMap(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 CurrentBufferSize, ViReal64 Current[],
                                                    ViInt32* CurrentActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageIVMap(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 VoltageBufferSize, ViReal64 Voltage[],
                                                    ViInt32* VoltageActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_InsertCurrentIVPoint(ViSession vi, ViConstString ChannelName,
                                                         ViInt32 Index);
MOTQR_API ViStatus MOTQR_FUNC motqr_InsertVoltageIVPoint(ViSession vi, ViConstString ChannelName,
                                                         ViInt32 Index);
MOTQR_API ViStatus MOTQR_FUNC motqr_Measure(ViSession vi, ViConstString ChannelName,
                                            ViInt32 MeasurementType, ViReal64* Measurement);
MOTQR_API ViStatus MOTQR_FUNC motqr_Measure2(ViSession vi, ViConstString ChannelName,
                                             ViInt32 MeasurementType, ViReal64* Measurement);
MOTQR_API ViStatus MOTQR_FUNC motqr_MeasureAll(ViSession vi, ViConstString ChannelName,
                                               ViInt32 MeasurementsBufferSize,
                                               ViReal64 Measurements[],
                                               ViInt32* MeasurementsActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentAmplitudeMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentDutyCycleMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentHighLevelMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentLowLevelMinMax(ViSession vi,
                                                               ViConstString ChannelName,
                                                               ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentOffsetMinMax(ViSession vi,
                                                             ViConstString ChannelName,
                                                             ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentPulseFrequencyMinMax(ViSession vi,
                                                                     ViConstString ChannelName,
                                                                     ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentSineFrequencyMinMax(ViSession vi,
                                                                    ViConstString ChannelName,
                                                                    ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryCurrentSlewRateMinMax(ViSession vi,
                                                               ViConstString ChannelName,
                                                               ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryLineVoltageMinMax(ViSession vi, ViConstString ChannelName,
                                                           ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryLowerOVPLevelMinMax(ViSession vi,
                                                             ViConstString ChannelName,
                                                             ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryMaxCurrentLimit(ViSession vi, ViConstString ChannelName,
                                                         ViReal64 VoltageLevel,
                                                         ViReal64* MaxCurrentLimit);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryMaxVoltageLevel(ViSession vi, ViConstString ChannelName,
                                                         ViReal64 CurrentLimit,
                                                         ViReal64* MaxVoltageLevel);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryNOCPLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                         ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryNOPPLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                         ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryNegativeCurrentLevelMinMax(ViSession vi,
                                                                    ViConstString ChannelName,
                                                                    ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryNegativePowerLevelMinMax(ViSession vi,
                                                                  ViConstString ChannelName,
                                                                  ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryOCPGraceTimeMinMax(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryOCPLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryOPPLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryOVPLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryOutputState(ViSession vi, ViConstString ChannelName,
                                                     ViInt32 OutputState, ViBoolean* InState);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryPowerLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                          ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryResistanceIRMinMax(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QuerySeamlessCurrentLevelMinMax(ViSession vi,
                                                                    ViConstString ChannelName,
                                                                    ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QuerySeamlessPowerLevelMinMax(ViSession vi,
                                                                  ViConstString ChannelName,
                                                                  ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageAmplitudeMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageDutyCycleMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageHighLevelMinMax(ViSession vi,
                                                                ViConstString ChannelName,
                                                                ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageLevelMinMax(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageLowLevelMinMax(ViSession vi,
                                                               ViConstString ChannelName,
                                                               ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageOffsetMinMax(ViSession vi,
                                                             ViConstString ChannelName,
                                                             ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltagePulseFrequencyMinMax(ViSession vi,
                                                                     ViConstString ChannelName,
                                                                     ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageSineFrequencyMinMax(ViSession vi,
                                                                    ViConstString ChannelName,
                                                                    ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVoltageSlewRateMinMax(ViSession vi,
                                                               ViConstString ChannelName,
                                                               ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryWatchdogTimeMinMax(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* Min, ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_Read(ViSession vi, ViConstString ChannelName,
                                         ViInt32 MeasurementType, ViReal64* Measurement);
MOTQR_API ViStatus MOTQR_FUNC motqr_ReadAll(ViSession vi, ViConstString ChannelName,
                                            ViInt32 MeasurementsBufferSize, ViReal64 Measurements[],
                                            ViInt32* MeasurementsActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_ResetOutputProtection(ViSession vi, ViConstString ChannelName);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentIVMap(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 DataCount, const ViReal64 Data[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentIVPoint(ViSession vi, ViConstString ChannelName,
                                                      ViInt32 Index, ViReal64 Voltage,
                                                      ViReal64 Current);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageIVMap(ViSession vi, ViConstString ChannelName,
                                                    ViInt32 DataCount, const ViReal64 Data[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageIVPoint(ViSession vi, ViConstString ChannelName,
                                                      ViInt32 Index, ViReal64 Voltage,
                                                      ViReal64 Current);

/** @} */

/** @defgroup driver_operations Operations of the driver
    Programs, triggers, integral data, status registers, system settings, digital and analog
    I/O, memories: operations that take no channel name.
    @{ */

MOTQR_API ViStatus MOTQR_FUNC motqr_Abort(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_Abort2(ViSession vi, ViInt32 TriggerSystem);
MOTQR_API ViStatus MOTQR_FUNC motqr_ChainProgram(ViSession vi, ViConstString Name);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureEnabled(ViSession vi, ViBoolean Enabled);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIOInputFilter(ViSession vi, ViInt32 FilterCount,
                                                           const ViInt32 Filter[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIOInputFunction(ViSession vi, ViInt32 FunctionCount,
                                                             const ViInt32 Function[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIOInputPolarity(ViSession vi, ViInt32 PolarityCount,
                                                             const ViInt32 Polarity[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIOOutputFunction(ViSession vi, ViInt32 FunctionCount,
                                                              const ViInt32 Function[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIOOutputPolarity(ViSession vi, ViInt32 PolarityCount,
                                                              const ViInt32 Polarity[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIntegralGateResetMethod(ViSession vi, ViInt32 Method);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureIntegralGateStartStopCondition(ViSession vi,
                                                                            ViInt32 Condition);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepCurrent(ViSession vi, ViInt32 StepNumber,
                                                                ViInt32 PositiveNegative,
                                                                ViReal64 Current);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepDwell(ViSession vi, ViInt32 StepNumber,
                                                              ViReal64 Dwell);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepFunctionMode(ViSession vi,
                                                                     ViInt32 StepNumber,
                                                                     ViInt32 FunctionMode);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepInternalResistance(
    ViSession vi, ViInt32 StepNumber, ViReal64 InternalResistance);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepOutputEnabled(ViSession vi,
                                                                      ViInt32 StepNumber,
                                                                      ViBoolean Enabled);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepPower(ViSession vi, ViInt32 StepNumber,
                                                              ViInt32 PositiveNegative,
                                                              ViReal64 Power);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepRamp(ViSession vi, ViInt32 StepNumber,
                                                             ViInt32 Ramp);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepSeamlessCurrent(ViSession vi,
                                                                        ViInt32 StepNumber,
                                                                        ViReal64 Current);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepSeamlessPower(ViSession vi,
                                                                      ViInt32 StepNumber,
                                                                      ViReal64 Power);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepSignal(ViSession vi, ViInt32 StepNumber,
                                                               ViInt32 Signal);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepTransition(ViSession vi, ViInt32 StepNumber,
                                                                   ViInt32 Factor);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepTrigger(ViSession vi, ViInt32 StepNumber,
                                                                ViInt32 ProgramStepTrigger);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureProgramStepVoltage(ViSession vi, ViInt32 StepNumber,
                                                                ViReal64 Voltage);
MOTQR_API ViStatus MOTQR_FUNC motqr_ConfigureSelectedProgram(ViSession vi, ViConstString Name);
MOTQR_API ViStatus MOTQR_FUNC motqr_DeleteAllPrograms(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_DeleteProgramStep(ViSession vi, ViInt32 StepNumber);
MOTQR_API ViStatus MOTQR_FUNC motqr_DeleteSelectedProgram(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_FactoryDefault(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_Initiate(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_Initiate2(ViSession vi, ViInt32 TriggerSystem);
MOTQR_API ViStatus MOTQR_FUNC motqr_InsertProgramStep(ViSession vi, ViInt32 StepNumber);
MOTQR_API ViStatus MOTQR_FUNC motqr_PauseTransient(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAcquireIntervalMinMax(ViSession vi, ViReal64* Min,
                                                               ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAcquireTriggerCountMinMax(ViSession vi, ViInt32* Min,
                                                                   ViInt32* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAcquireTriggerDelayMinMax(ViSession vi, ViReal64* Min,
                                                                   ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAnalogControlSelectedRangeMinMax(ViSession vi,
                                                                          ViReal64* Min,
                                                                          ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAnalogControlVoltageRangeMinMax(ViSession vi,
                                                                         ViReal64* Min,
                                                                         ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAnalogMonitorCurrentRangeMinMax(ViSession vi,
                                                                         ViReal64* Min,
                                                                         ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryAnalogMonitorVoltageRangeMinMax(ViSession vi,
                                                                         ViReal64* Min,
                                                                         ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryApertureTimeMinMax(ViSession vi, ViReal64* Min,
                                                            ViReal64* Max);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryDate(ViSession vi, ViInt32 DateBufferSize, ViInt32 Date[],
                                              ViInt32* DateActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryFirmwareVersion(ViSession vi,
                                                         ViInt32 FirmwareVersionBufferSize,
                                                         ViChar FirmwareVersion[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIOInputFilter(ViSession vi, ViInt32 FilterBufferSize,
                                                       ViInt32 Filter[], ViInt32* FilterActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIOInputFunction(ViSession vi, ViInt32 FunctionBufferSize,
                                                         ViInt32 Function[],
                                                         ViInt32* FunctionActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIOInputPolarity(ViSession vi, ViInt32 PolarityBufferSize,
                                                         ViInt32 Polarity[],
                                                         ViInt32* PolarityActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIOOutputFunction(ViSession vi, ViInt32 FunctionBufferSize,
                                                          ViInt32 Function[],
                                                          ViInt32* FunctionActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIOOutputPolarity(ViSession vi, ViInt32 PolarityBufferSize,
                                                          ViInt32 Polarity[],
                                                          ViInt32* PolarityActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryInformation(ViSession vi, ViReal64* RatedVolt,
                                                     ViReal64* RatedCurr, ViReal64* RatedPower,
                                                     ViInt32 ModelNameBufferSize,
                                                     ViChar ModelName[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIntegralDataRemainPoints(ViSession vi, ViInt32* Count);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIntegralGateResetMethod(ViSession vi, ViInt32* Method);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryIntegralGateStartStopCondition(ViSession vi,
                                                                        ViInt32* Condition);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryLinePower(ViSession vi, ViReal64* LinePower);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepCount(ViSession vi, ViInt32* Count);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepCurrent(ViSession vi, ViInt32 StepNumber,
                                                            ViInt32 PositiveNegative,
                                                            ViReal64* Current);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepDwell(ViSession vi, ViInt32 StepNumber,
                                                          ViReal64* Dwell);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepFunctionMode(ViSession vi, ViInt32 StepNumber,
                                                                 ViInt32* FunctionMode);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepInternalResistance(
    ViSession vi, ViInt32 StepNumber, ViReal64* InternalResistance);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepOutputEnabled(ViSession vi, ViInt32 StepNumber,
                                                                  ViBoolean* Enabled);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepPower(ViSession vi, ViInt32 StepNumber,
                                                          ViInt32 PositiveNegative,
                                                          ViReal64* Power);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepRamp(ViSession vi, ViInt32 StepNumber,
                                                         ViInt32* Ramp);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepSeamlessCurrent(ViSession vi,
                                                                    ViInt32 StepNumber,
                                                                    ViReal64* Current);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepSeamlessPower(ViSession vi, ViInt32 StepNumber,
                                                                  ViReal64* Power);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepSignal(ViSession vi, ViInt32 StepNumber,
                                                           ViInt32* Signal);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepTransition(ViSession vi, ViInt32 StepNumber,
                                                               ViInt32* Factor);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepTrigger(ViSession vi, ViInt32 StepNumber,
                                                            ViInt32* ProgramStepTrigger);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramStepVoltage(ViSession vi, ViInt32 StepNumber,
                                                            ViReal64* Voltage);
MOTQR_API ViStatus MOTQR_FUNC motqr_QuerySelectedProgram(ViSession vi, ViInt32 NameBufferSize,
                                                         ViChar Name[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryTime(ViSession vi, ViInt32 TimeBufferSize, ViInt32 Time[],
                                              ViInt32* TimeActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryTransientInfo(ViSession vi, ViInt32* State,
                                                       ViInt32 ProgramNameBufferSize,
                                                       ViChar ProgramName[], ViInt32* StepNumber,
                                                       ViInt32* LoopNumber);
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryVerifyChannel(ViSession vi, ViInt32 ChannelListBufferSize,
                                                       ViInt32 ChannelList[],
                                                       ViInt32* ChannelListActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_RecallSettings(ViSession vi, ViInt32 MemoryNumber);
MOTQR_API ViStatus MOTQR_FUNC motqr_RemoveIntegralData(ViSession vi, ViInt32 Count,
                                                       ViInt32 DataBufferSize, ViReal64 Data[],
                                                       ViInt32* DataActualSize);
MOTQR_API ViStatus MOTQR_FUNC motqr_RenameProgram(ViSession vi, ViConstString NewName);
MOTQR_API ViStatus MOTQR_FUNC motqr_ResetFilter(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_ResetIntegralData(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_ResumeTransient(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_SaveProgram(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_SaveSettings(ViSession vi, ViInt32 MemoryNumber);
MOTQR_API ViStatus MOTQR_FUNC motqr_SendSoftwareTrigger(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_SendSoftwareTrigger2(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetDate(ViSession vi, ViInt32 DateCount, const ViInt32 Date[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetTime(ViSession vi, ViInt32 TimeCount, const ViInt32 Time[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_StartIntegral(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_StopIntegral(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_SyncClocks(ViSession vi);
MOTQR_API ViStatus MOTQR_FUNC motqr_UnchainAllPrograms(ViSession vi);

/** @} */

/** @defgroup attribute_functions Attributes by identifier
    Read and write any attribute by its MOTQR_ATTR_ identifier; pass "" as the channel name
    for attributes that belong to no channel.
    @{ */

MOTQR_API ViStatus MOTQR_FUNC motqr_GetAttributeViInt32(ViSession vi, ViConstString ChannelName,
                                                        ViAttr AttributeId,
                                                        ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAttributeViReal64(ViSession vi, ViConstString ChannelName,
                                                         ViAttr AttributeId,
                                                         ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAttributeViBoolean(ViSession vi, ViConstString ChannelName,
                                                          ViAttr AttributeId,
                                                          ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAttributeViSession(ViSession vi, ViConstString ChannelName,
                                                          ViAttr AttributeId,
                                                          ViSession* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAttributeViString(ViSession vi, ViConstString ChannelName,
                                                         ViAttr AttributeId, ViInt32 BufferSize,
                                                         ViChar AttributeValue[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAttributeViInt32(ViSession vi, ViConstString ChannelName,
                                                        ViAttr AttributeId, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAttributeViReal64(ViSession vi, ViConstString ChannelName,
                                                         ViAttr AttributeId,
                                                         ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAttributeViBoolean(ViSession vi, ViConstString ChannelName,
                                                          ViAttr AttributeId,
                                                          ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAttributeViSession(ViSession vi, ViConstString ChannelName,
                                                          ViAttr AttributeId,
                                                          ViSession AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAttributeViString(ViSession vi, ViConstString ChannelName,
                                                         ViAttr AttributeId,
                                                         ViConstString AttributeValue);

/** @} */

/** @defgroup typed_accessors Typed attribute accessors
    motqr_Get<Name> / motqr_Set<Name>: the attribute functions with a fixed MOTQR_ATTR_
    identifier.
    @{ */

MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                    ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                    ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetSeamlessCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetSeamlessCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentSlewRate(ViSession vi, ViConstString ChannelName,
                                                       ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentSlewRate(ViSession vi, ViConstString ChannelName,
                                                       ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentResponseSpeed(ViSession vi, ViConstString ChannelName,
                                                            ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentResponseSpeed(ViSession vi, ViConstString ChannelName,
                                                            ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNegativeCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetNegativeCurrentLevel(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageLevel2(ViSession vi, ViConstString ChannelName,
                                                     ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageLevel2(ViSession vi, ViConstString ChannelName,
                                                     ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageReponseSpeed(ViSession vi, ViConstString ChannelName,
                                                           ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageReponseSpeed(ViSession vi, ViConstString ChannelName,
                                                           ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetPowerLevel(ViSession vi, ViConstString ChannelName,
                                                  ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetPowerLevel(ViSession vi, ViConstString ChannelName,
                                                  ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetPowerMode(ViSession vi, ViConstString ChannelName,
                                                 ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetPowerMode(ViSession vi, ViConstString ChannelName,
                                                 ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNegativePowerLevel(ViSession vi, ViConstString ChannelName,
                                                          ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetNegativePowerLevel(ViSession vi, ViConstString ChannelName,
                                                          ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetSeamlessPowerLevel(ViSession vi, ViConstString ChannelName,
                                                          ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetSeamlessPowerLevel(ViSession vi, ViConstString ChannelName,
                                                          ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetEnabled(ViSession vi, ViConstString ChannelName,
                                               ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetEnabled(ViSession vi, ViConstString ChannelName,
                                               ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetPowerOnMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetPowerOnMode(ViSession vi, ViConstString ChannelName,
                                                   ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetMsyncAcceptEnabled(ViSession vi, ViConstString ChannelName,
                                                          ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetMsyncAcceptEnabled(ViSession vi, ViConstString ChannelName,
                                                          ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetPriority(ViSession vi, ViConstString ChannelName,
                                                ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetPriority(ViSession vi, ViConstString ChannelName,
                                                ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetImpedanceMode(ViSession vi, ViConstString ChannelName,
                                                     ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetImpedanceMode(ViSession vi, ViConstString ChannelName,
                                                     ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetIr(ViSession vi, ViConstString ChannelName,
                                          ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetIr(ViSession vi, ViConstString ChannelName,
                                          ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetRemoteSensingErrorEnabled(ViSession vi,
                                                                 ViConstString ChannelName,
                                                                 ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetRemoteSensingErrorEnabled(ViSession vi,
                                                                 ViConstString ChannelName,
                                                                 ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetWatchdogEnabled(ViSession vi, ViConstString ChannelName,
                                                       ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetWatchdogEnabled(ViSession vi, ViConstString ChannelName,
                                                       ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetWatchdogTime(ViSession vi, ViConstString ChannelName,
                                                    ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetWatchdogTime(ViSession vi, ViConstString ChannelName,
                                                    ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOcpLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOcpLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOcpGraceTime(ViSession vi, ViConstString ChannelName,
                                                    ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOcpGraceTime(ViSession vi, ViConstString ChannelName,
                                                    ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNocpLevel(ViSession vi, ViConstString ChannelName,
                                                 ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetNocpLevel(ViSession vi, ViConstString ChannelName,
                                                 ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOppLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOppLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetNoppLevel(ViSession vi, ViConstString ChannelName,
                                                 ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetNoppLevel(ViSession vi, ViConstString ChannelName,
                                                 ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetLowerovpLevel(ViSession vi, ViConstString ChannelName,
                                                     ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetLowerovpLevel(ViSession vi, ViConstString ChannelName,
                                                     ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetLowerovpEnabled(ViSession vi, ViConstString ChannelName,
                                                       ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetLowerovpEnabled(ViSession vi, ViConstString ChannelName,
                                                       ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOvpLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOvpLevel(ViSession vi, ViConstString ChannelName,
                                                ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetLineVoltage(ViSession vi, ViConstString ChannelName,
                                                   ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetLineVoltage(ViSession vi, ViConstString ChannelName,
                                                   ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageSlewRate(ViSession vi, ViConstString ChannelName,
                                                       ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageSlewRate(ViSession vi, ViConstString ChannelName,
                                                       ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentDutyCycle(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentDutyCycle(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentPuseFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentPuseFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentHighLevel(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentHighLevel(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentLowLevel(ViSession vi, ViConstString ChannelName,
                                                       ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentLowLevel(ViSession vi, ViConstString ChannelName,
                                                       ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageDutyCycle(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageDutyCycle(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltagePuseFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltagePuseFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageHighLevel(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageHighLevel(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageLowLevel(ViSession vi, ViConstString ChannelName,
                                                       ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageLowLevel(ViSession vi, ViConstString ChannelName,
                                                       ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentAmplitude(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentAmplitude(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentSineFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentSineFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentOffset(ViSession vi, ViConstString ChannelName,
                                                     ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentOffset(ViSession vi, ViConstString ChannelName,
                                                     ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageAmplitude(ViSession vi, ViConstString ChannelName,
                                                        ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageAmplitude(ViSession vi, ViConstString ChannelName,
                                                        ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageSineFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageSineFrequency(ViSession vi, ViConstString ChannelName,
                                                            ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageOffset(ViSession vi, ViConstString ChannelName,
                                                     ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageOffset(ViSession vi, ViConstString ChannelName,
                                                     ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetCurrentivPointCount(ViSession vi, ViConstString ChannelName,
                                                           ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetCurrentivPointCount(ViSession vi, ViConstString ChannelName,
                                                           ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetVoltageivPointCount(ViSession vi, ViConstString ChannelName,
                                                           ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetVoltageivPointCount(ViSession vi, ViConstString ChannelName,
                                                           ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetProgramLoopCount(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetProgramLoopCount(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetProgramCurrentFunctionMode(ViSession vi,
                                                                  ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetProgramCurrentFunctionMode(ViSession vi,
                                                                  ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetProgramPowerFunctionMode(ViSession vi,
                                                                ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetProgramPowerFunctionMode(ViSession vi,
                                                                ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetProgramStepCount(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetProgramStepCount(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetApertureTime(ViSession vi, ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetApertureTime(ViSession vi, ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAnalogControlSelectedRange(ViSession vi,
                                                                  ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAnalogControlSelectedRange(ViSession vi,
                                                                  ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAnalogControlVoltageRange(ViSession vi,
                                                                 ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAnalogControlVoltageRange(ViSession vi,
                                                                 ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAnalogMonitorCurrentRange(ViSession vi,
                                                                 ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAnalogMonitorCurrentRange(ViSession vi,
                                                                 ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAnalogMonitorVoltageRange(ViSession vi,
                                                                 ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAnalogMonitorVoltageRange(ViSession vi,
                                                                 ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetIoEnabled(ViSession vi, ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetIoEnabled(ViSession vi, ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetKeyLockEnabled(ViSession vi, ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetKeyLockEnabled(ViSession vi, ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetKeyLockLevel(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetKeyLockLevel(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetRemoteLocalState(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetRemoteLocalState(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetParallelUnit(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetMsyncEnabled(ViSession vi, ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetPowerOnRecallState(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetPowerOnRecallState(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetRemoteSensingEnabled(ViSession vi,
                                                            ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetRemoteSensingEnabled(ViSession vi, ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetQuestionableConditionRegister(ViSession vi,
                                                                     ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetQuestionableEnableRegister(ViSession vi,
                                                                  ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetQuestionableEnableRegister(ViSession vi,
                                                                  ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetQuestionableEventRegister(ViSession vi,
                                                                 ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetQuestionableNegativeTransition(ViSession vi,
                                                                      ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetQuestionableNegativeTransition(ViSession vi,
                                                                      ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetQuestionablePositiveTransition(ViSession vi,
                                                                      ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetQuestionablePositiveTransition(ViSession vi,
                                                                      ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOperationableConditionRegister(ViSession vi,
                                                                      ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOperationableEnableRegister(ViSession vi,
                                                                   ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOperationableEnableRegister(ViSession vi,
                                                                   ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOperationableEventRegister(ViSession vi,
                                                                  ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOperationableNegativeTransition(ViSession vi,
                                                                       ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOperationableNegativeTransition(ViSession vi,
                                                                       ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetOperationablePositiveTransition(ViSession vi,
                                                                       ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetOperationablePositiveTransition(ViSession vi,
                                                                       ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAcquireTriggerSource(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAcquireTriggerSource(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAcquireTriggerCount(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAcquireTriggerCount(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAcquireTriggerDelay(ViSession vi, ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAcquireTriggerDelay(ViSession vi, ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAcquireIntervalEnabled(ViSession vi,
                                                              ViBoolean* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAcquireIntervalEnabled(ViSession vi,
                                                              ViBoolean AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetAcquireInterval(ViSession vi, ViReal64* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetAcquireInterval(ViSession vi, ViReal64 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetTransientTriggerSource(ViSession vi,
                                                              ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetTransientTriggerSource(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetActivate(ViSession vi, ViInt32* AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetActivate(ViSession vi, ViInt32 AttributeValue);
MOTQR_API ViStatus MOTQR_FUNC motqr_GetTimeZone(ViSession vi, ViInt32 BufferSize,
                                                ViChar AttributeValue[]);
MOTQR_API ViStatus MOTQR_FUNC motqr_SetTimeZone(ViSession vi, ViConstString AttributeValue);

/** @} */

/** @defgroup name_lists Lists of names
    Lists returned as one comma-separated text, under the text-result rules.
    @{ */

/** The programs chained after the selected one, in chain order. */
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryProgramChain(ViSession vi, ViInt32 ProgramNamesBufferSize,
                                                      ViChar ProgramNames[]);
/** The time zones of one group (MOTQR_VAL_TIME_ZONE_GROUP_...). */
MOTQR_API ViStatus MOTQR_FUNC motqr_GetTimeZoneList(ViSession vi, ViInt32 Group,
                                                    ViInt32 ListBufferSize, ViChar List[]);
/** The time zones of every group, first group first. */
MOTQR_API ViStatus MOTQR_FUNC motqr_GetTimeZoneList2(ViSession vi, ViInt32 ListBufferSize,
                                                     ViChar List[]);
/** The same list as motqr_GetTimeZoneList, under the name of the query functions. */
MOTQR_API ViStatus MOTQR_FUNC motqr_QueryTimeZoneList(ViSession vi, ViInt32 Group,
                                                      ViInt32 ListBufferSize, ViChar List[]);

/** @} */

#ifdef __cplusplus
}
#endif

#endif /* MOTQR_H */
