/* Built as strict C99 on its own: the protocol header must need no other
   header and stay plain C, since C programs embed the control too. */
#include "pelomar.h"
#include "pelomar.h" /* and survive a second inclusion */

unsigned pelomar_check_numbers(void);

unsigned pelomar_check_numbers(void) {
    enum PelomarMessage message = PM_SETDATA;
    enum PelomarCommand command = PMC_UNDO;
    PELOMAR_NMCHANGE change = {{0, 0, PMN_CHANGE}, 0, 1, PM_CAUSE_WRITE, 1};
    PELOMAR_WRITE write = {0, "", 0};
    return (unsigned)message + (unsigned)command + PM_COLOUR_PAIRS + PM_FONTS + PM_NOTIFY_CHANGE +
           change.hdr.code + (unsigned)write.count + (unsigned)sizeof PELOMAR_CLASSW;
}
