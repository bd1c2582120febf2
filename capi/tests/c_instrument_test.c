/* Against tqr-sim on a loopback port: array results at their boundaries, the
   16-bit status registers, direct I/O and lists of names.
   Usage: capi_c_instrument_test <path of tqr-sim> */
#define _POSIX_C_SOURCE 200809L
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "c_check.h"

static pid_t sim_pid = -1;

/* Starts the simulator on a free port; returns the port or 0. */
static int start_sim(const char* path) {
  int fds[2];
  char line[64];
  FILE* out;
  int port = 0;
  if (pipe(fds) != 0) return 0;
  sim_pid = fork();
  if (sim_pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    execl(path, path, "--port", "0", (char*)NULL);
    _exit(127);
  }
  close(fds[1]);
  out = fdopen(fds[0], "r");
  if (out && fgets(line, sizeof line, out) && sscanf(line, "port %d", &port) != 1) port = 0;
  return port;
}

static void stop_sim(void) {
  if (sim_pid > 0) {
    kill(sim_pid, SIGTERM);
    waitpid(sim_pid, NULL, 0);
  }
}

static void arrays(ViSession vi) {
  ViInt32 date[3] = {-1, -1, -1};
  ViInt32 actual = -1;
  CHECK_STATUS(0, motqr_SetDate(vi, 3, (const ViInt32[]){2026, 3, 14}));
  CHECK_STATUS(0, motqr_QueryDate(vi, 3, date, &actual));
  CHECK_STATUS(3, actual);
  CHECK(date[0] == 2026 && date[1] == 3 && date[2] == 14);
  date[0] = date[1] = date[2] = -1;
  CHECK_STATUS(0, motqr_QueryDate(vi, 2, date, &actual)); /* shorter buffer: cut */
  CHECK_STATUS(2, actual);
  CHECK(date[0] == 2026 && date[1] == 3 && date[2] == -1);
  actual = 7; /* no array: nothing copied, the actual size left alone */
  CHECK_STATUS(0, motqr_QueryDate(vi, 3, NULL, &actual));
  CHECK_STATUS(7, actual);
}

static void registers(ViSession vi) {
  ViInt32 value = 0;
  /* A set passes the low 16 bits (the instrument keeps bits 0 to 14). */
  CHECK_STATUS(0, motqr_SetQuestionableEnableRegister(vi, 0x10005));
  CHECK_STATUS(0, motqr_GetQuestionableEnableRegister(vi, &value));
  CHECK_STATUS(5, value);
  CHECK_STATUS(0, motqr_SetAttributeViInt32(vi, "", MOTQR_ATTR_OPERATION_ENABLE_REGISTER, 0x7FFF));
  CHECK_STATUS(0, motqr_GetOperationableEnableRegister(vi, &value));
  CHECK_STATUS(0x7FFF, value);
}

static void direct_io(ViSession vi) {
  ViByte reply[10];
  ViInt64 count = -1;
  const char* query = "*IDN?\n";
  CHECK_STATUS(0, motqr_viWrite(vi, (ViInt64)strlen(query), (ViConstBuf)query, &count));
  CHECK(count == (ViInt64)strlen(query));
  CHECK_STATUS(0, motqr_viRead(vi, (ViInt64)sizeof reply, reply, &count));
  CHECK(count == (ViInt64)sizeof reply);
  CHECK_STATUS(MOTQR_ERROR_NULL_POINTER, motqr_viRead(vi, 10, reply, NULL));
  CHECK_TEXT("Parameter ReturnCount is VI_NULL.", c_check_error(vi, NULL));
}

static void name_lists(ViSession vi) {
  ViChar list[4096];
  ViInt32 size = motqr_GetTimeZoneList2(vi, 0, NULL);
  CHECK(size > 1);
  CHECK_STATUS(0, motqr_GetTimeZoneList(vi, MOTQR_VAL_TIME_ZONE_GROUP_TIME_ZONE1,
                                        (ViInt32)sizeof list, list));
  CHECK(strchr(list, ',') != NULL);
  CHECK_STATUS(0, motqr_QueryProgramChain(vi, (ViInt32)sizeof list, list));
}

int main(int argc, char** argv) {
  char resource[64];
  ViSession vi = VI_NULL;
  ViStatus s;
  int port;
  ViInt32 code = -1;
  ViChar message[MOTQR_MAX_MESSAGE_BUF_SIZE];
  if (argc < 2 || access(argv[1], X_OK) != 0) return 77;
  port = start_sim(argv[1]);
  if (!port) {
    fprintf(stderr, "tqr-sim did not start\n");
    stop_sim();
    return 1;
  }
  snprintf(resource, sizeof resource, "TCPIP::127.0.0.1::%d::SOCKET", port);
  s = motqr_InitWithOptions(resource, VI_TRUE, VI_TRUE, "QueryInstrumentStatus=true", &vi);
  CHECK_STATUS(0, s);
  if (s == 0) {
    arrays(vi);
    registers(vi);
    name_lists(vi);
    direct_io(vi);
    CHECK_STATUS(0, motqr_error_query(vi, &code, message));
    CHECK_STATUS(0, motqr_close(vi));
  } else {
    fprintf(stderr, "%s\n", c_check_error(VI_NULL, NULL));
  }
  stop_sim();
  return c_check_failures;
}
