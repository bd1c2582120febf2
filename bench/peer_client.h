/* One client of the peer comparison (bench/compare.sh): the same bounded loops
 * against a running tqr-sim, whatever library does the talking, and one line
 * of results the script collects.
 *
 *   peer_<client> [--wire vxi11|hislip:P] PORT query N
 *                                    N ":VOLT?" queries, each timed
 *   peer_<client> PORT ivmap P R     R reads of a P-point voltage map block
 *   peer_<client> PORT list V R      R reads of V logged values as text
 *
 * --wire: the client under test talks VXI-11 (the portmapper on port 111 finds
 * the instrument) or HiSLIP on port P instead of the raw socket on PORT; its
 * result lines name it "<client>/vxi11" or "<client>/hislip".
 *
 * Result lines (times in microseconds):
 *   RESULT <client> query <N> <median> <p99> <cpu per query>
 *   RESULT <client> ivmap <bytes> <median> <min>
 *   RESULT <client> list <values> <median> <min>
 *
 * The loops run in the client; the instrument is prepared and refilled over a
 * separate plain connection, outside the timed calls. */
#ifndef MOTQR_BENCH_PEER_CLIENT_H_
#define MOTQR_BENCH_PEER_CLIENT_H_

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct peer_client {
  const char* name;
  /* Each returns 0 on success. */
  int (*open)(int port);
  /* One ":VOLT?" query; the level read into *volts. */
  int (*query_voltage)(double* volts);
  /* The voltage map block read into `values` (at most `capacity`); *count read. */
  int (*read_voltage_map)(double* values, size_t capacity, size_t* count);
  /* Up to `wanted` logged values removed and read into `values`; *count read. */
  int (*read_logged_values)(size_t wanted, double* values, size_t capacity, size_t* count);
  void (*close)(void);
};

enum peer_wire_kind { PEER_WIRE_SOCKET, PEER_WIRE_VXI11, PEER_WIRE_HISLIP };
struct peer_wire {
  enum peer_wire_kind kind;
  int hislip_port;
};
/* The wire of this run (set by peer_main before the client opens). */
extern struct peer_wire peer_wire;
/* The VISA resource of the wire for a simulator whose socket is on `port`. */
void peer_resource(int port, char* out, size_t size);

/* Runs the loop the arguments name with `client`; the process exit code. */
int peer_main(const struct peer_client* client, int argc, char** argv);

#ifdef __cplusplus
}
#endif

#endif /* MOTQR_BENCH_PEER_CLIENT_H_ */
