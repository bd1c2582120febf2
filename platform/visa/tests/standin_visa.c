/* A stand-in VISA shared library for the dlopen binding tests: each session is a loopback
 * that returns what was written to it. Types follow the VISA C headers for LP64 Linux and
 * are declared here on their own, so a width mistake in the binding shows up. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

typedef unsigned int ViUInt32;
typedef signed int ViInt32;
typedef unsigned short ViUInt16;
typedef unsigned char ViUInt8;
typedef ViUInt16 ViBoolean;
typedef ViInt32 ViStatus;
typedef ViUInt32 ViSession;
typedef ViUInt32 ViObject;
typedef ViUInt32 ViAttr;
typedef ViUInt32 ViAccessMode;
typedef uint64_t ViAttrState;

#define EXPORT __attribute__((visibility("default")))

#define VI_SUCCESS 0
#define VI_SUCCESS_TERM_CHAR 0x3FFF0005
#define VI_SUCCESS_MAX_CNT 0x3FFF0006
#define VI_ERROR_INV_OBJECT ((ViStatus)0xBFFF000E)
#define VI_ERROR_RSRC_NFOUND ((ViStatus)0xBFFF0011)
#define VI_ERROR_TMO ((ViStatus)0xBFFF0015)
#define VI_ERROR_NSUP_ATTR ((ViStatus)0xBFFF001D)
#define VI_ERROR_NSUP_ATTR_STATE ((ViStatus)0xBFFF001E)
#define VI_ERROR_IO ((ViStatus)0xBFFF003E)

#define VI_ATTR_RSRC_CLASS 0xBFFF0001u
#define VI_ATTR_SEND_END_EN 0x3FFF0016u
#define VI_ATTR_TERMCHAR 0x3FFF0018u
#define VI_ATTR_TMO_VALUE 0x3FFF001Au
#define VI_ATTR_TERMCHAR_EN 0x3FFF0038u
#define VI_ATTR_INTF_TYPE 0x3FFF0171u
/* A private attribute holding a full 64-bit value, to see ViAttrState pass unchanged. */
#define STANDIN_ATTR_WIDE 0x3FFF7FF0u

#define RM_SESSION 1
#define MAX_SESSIONS 8
#define LOOP_SIZE 1024

struct Session {
  int open;
  unsigned char data[LOOP_SIZE];
  size_t size;
  int ended; /* the last write asserted END */
  ViUInt32 timeout;
  ViUInt8 termchar;
  ViBoolean termchar_en;
  ViBoolean send_end;
  ViAttrState wide;
};
static struct Session sessions[MAX_SESSIONS];

static struct Session* Find(ViSession vi) {
  if (vi < 2 || vi >= 2 + MAX_SESSIONS || !sessions[vi - 2].open) return NULL;
  return &sessions[vi - 2];
}

EXPORT ViStatus viOpenDefaultRM(ViSession* vi) {
  *vi = RM_SESSION;
  return VI_SUCCESS;
}

EXPORT ViStatus viOpen(ViSession rm, const char* name, ViAccessMode mode, ViUInt32 timeout,
                       ViSession* vi) {
  (void)mode;
  (void)timeout;
  if (rm != RM_SESSION) return VI_ERROR_INV_OBJECT;
  if (strncmp(name, "GPIB", 4) != 0 && strncmp(name, "TCPIP", 5) != 0) return VI_ERROR_RSRC_NFOUND;
  for (ViSession i = 0; i < MAX_SESSIONS; ++i) {
    if (!sessions[i].open) {
      memset(&sessions[i], 0, sizeof sessions[i]);
      sessions[i].open = 1;
      sessions[i].timeout = 2000;
      sessions[i].termchar = '\n';
      sessions[i].send_end = 1;
      *vi = i + 2;
      return VI_SUCCESS;
    }
  }
  return VI_ERROR_IO;
}

EXPORT ViStatus viClose(ViObject vi) {
  if (vi == RM_SESSION) return VI_SUCCESS;
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  s->open = 0;
  return VI_SUCCESS;
}

EXPORT ViStatus viWrite(ViSession vi, const unsigned char* buf, ViUInt32 cnt, ViUInt32* ret) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  if (cnt > LOOP_SIZE - s->size) cnt = (ViUInt32)(LOOP_SIZE - s->size);
  memcpy(s->data + s->size, buf, cnt);
  s->size += cnt;
  s->ended = s->send_end != 0;
  *ret = cnt;
  return VI_SUCCESS;
}

EXPORT ViStatus viRead(ViSession vi, unsigned char* buf, ViUInt32 cnt, ViUInt32* ret) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  size_t n = 0;
  ViStatus status = VI_ERROR_TMO;
  while (n < cnt && n < s->size) {
    buf[n] = s->data[n];
    ++n;
    if (s->termchar_en && buf[n - 1] == s->termchar) {
      status = VI_SUCCESS_TERM_CHAR;
      break;
    }
  }
  if (status != VI_SUCCESS_TERM_CHAR) {
    if (n == s->size && s->ended && n > 0) {
      status = VI_SUCCESS;
    } else if (n == cnt) {
      status = VI_SUCCESS_MAX_CNT;
    }
  }
  memmove(s->data, s->data + n, s->size - n);
  s->size -= n;
  *ret = (ViUInt32)n;
  return status;
}

EXPORT ViStatus viReadSTB(ViSession vi, ViUInt16* status) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  *status = (ViUInt16)(0x40 | s->size);
  return VI_SUCCESS;
}

EXPORT ViStatus viClear(ViSession vi) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  s->size = 0;
  return VI_SUCCESS;
}

EXPORT ViStatus viSetAttribute(ViObject vi, ViAttr attr, ViAttrState value) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  switch (attr) {
    case VI_ATTR_TMO_VALUE:
      if (value > 0xFFFFFFFFu) return VI_ERROR_NSUP_ATTR_STATE;
      s->timeout = (ViUInt32)value;
      return VI_SUCCESS;
    case VI_ATTR_TERMCHAR:
      if (value > 0xFF) return VI_ERROR_NSUP_ATTR_STATE;
      s->termchar = (ViUInt8)value;
      return VI_SUCCESS;
    case VI_ATTR_TERMCHAR_EN:
      s->termchar_en = (ViBoolean)(value != 0);
      return VI_SUCCESS;
    case VI_ATTR_SEND_END_EN:
      s->send_end = (ViBoolean)(value != 0);
      return VI_SUCCESS;
    case STANDIN_ATTR_WIDE:
      s->wide = value;
      return VI_SUCCESS;
    default:
      return VI_ERROR_NSUP_ATTR;
  }
}

EXPORT ViStatus viGetAttribute(ViObject vi, ViAttr attr, void* value) {
  struct Session* s = Find(vi);
  if (s == NULL) return VI_ERROR_INV_OBJECT;
  switch (attr) {
    case VI_ATTR_TMO_VALUE:
      *(ViUInt32*)value = s->timeout;
      return VI_SUCCESS;
    case VI_ATTR_TERMCHAR:
      *(ViUInt8*)value = s->termchar;
      return VI_SUCCESS;
    case VI_ATTR_TERMCHAR_EN:
      *(ViBoolean*)value = s->termchar_en;
      return VI_SUCCESS;
    case VI_ATTR_SEND_END_EN:
      *(ViBoolean*)value = s->send_end;
      return VI_SUCCESS;
    case VI_ATTR_INTF_TYPE:
      *(ViUInt16*)value = 1; /* GPIB */
      return VI_SUCCESS;
    case VI_ATTR_RSRC_CLASS:
      strcpy((char*)value, "INSTR");
      return VI_SUCCESS;
    case STANDIN_ATTR_WIDE:
      *(ViAttrState*)value = s->wide;
      return VI_SUCCESS;
    default:
      return VI_ERROR_NSUP_ATTR;
  }
}

EXPORT ViStatus viLock(ViSession vi, ViAccessMode type, ViUInt32 timeout, const char* key,
                       char access_key[]) {
  (void)type;
  (void)timeout;
  if (Find(vi) == NULL) return VI_ERROR_INV_OBJECT;
  snprintf(access_key, 256, "%s", key != NULL ? key : "standin-key");
  return VI_SUCCESS;
}

EXPORT ViStatus viUnlock(ViSession vi) { return Find(vi) == NULL ? VI_ERROR_INV_OBJECT : 0; }

EXPORT ViStatus viStatusDesc(ViObject vi, ViStatus status, char desc[]) {
  (void)vi;
  snprintf(desc, 256, "stand-in status %08X", (unsigned)status);
  return VI_SUCCESS;
}
