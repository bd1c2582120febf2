/* A plain C SCPI client over a TCP socket: the baseline the driver's round
 * trip is measured against. Loopback only; every wait is bounded. */
#ifndef MOTQR_BENCH_RAW_SCPI_CLIENT_H_
#define MOTQR_BENCH_RAW_SCPI_CLIENT_H_

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Connects to 127.0.0.1:port with TCP_NODELAY; the socket, or -1. */
int raw_scpi_connect(int port);
/* Sends `command` and a line feed, reads one reply line (line feed dropped)
 * into `reply` (zero-terminated, cut at `size` - 1). The reply length, or -1
 * on failure or after `timeout_ms`. */
int raw_scpi_query(int fd, const char* command, char* reply, size_t size, int timeout_ms);
/* Sends `size` bytes as they are (the caller ends the message). 0, or -1. */
int raw_scpi_send(int fd, const void* data, size_t size);
/* Reads one definite-length block reply "#<n><length><data>" and its line feed
 * into `reply`; `*data` points at the data in it. The data length, or -1 on a
 * malformed or oversized reply, a failure, or after `timeout_ms` without data. */
long raw_scpi_read_block(int fd, char* reply, size_t capacity, const char** data, int timeout_ms);
void raw_scpi_close(int fd);

#ifdef __cplusplus
}
#endif

#endif /* MOTQR_BENCH_RAW_SCPI_CLIENT_H_ */
