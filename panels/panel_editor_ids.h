// Dialog templates of the panel editors (in the executable's resources).
#pragma once

#define IDD_CUST_CMD_PANEL 238
#define IDD_CUST_CMD_KEY 244
