FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.5
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.0
FILE_NAME: "speed"

T: title "Set the speed limit"
T: speed_name "Speed limit"
LP: lp_max = 1500

// Keeps the limit below the drive's maximum.
WS: ws_limit
{
   CPY speed lp_max
}

SCREEN_OVERLAY: intro
{
   OVERLAY: o_intro
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: limit
}

SCREEN_DUAL_PARAM: limit
{
   P: motor_speed 125
   VP: speed
   {
      T: speed_name
      MIN: 0
      MAX: 3000
      VAL: 1500
      SCALE: 0
      WS: ws_limit
   }
   NS: confirm
}

SCREEN_SINGLE_PARAM: confirm
{
   VP: speed
}
