FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.5
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.0
FILE_NAME: "w"
T: title "Title\nsecond line: Grüße"
H: title "Help"
T: speed_name "Speed"
T: a "A"
T: b "B"
T: mode_name "Mode"
CLF: modes "0,2"
APF: inputs "1-2"
LP: lp_x = 3
SUBROUTINE: sr_copy
{
   CPY speed lp_x
   RET
}
SCREEN_OVERLAY: first
{
   OVERLAY: o_first
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }
   NS: second
}
SCREEN_DUAL_PARAM: second
{
   VP: speed
   {
      T: speed_name
      MIN: 0
      MAX: 10
      VAL: 1
      SCALE: 0
      WS: ws_speed
      {
         CALL sr_copy
      }
   }
   VCP: mode
   {
      T: mode_name
      CL: modes_list
      {
         a*
         b
      }
   }
   NS: third
}
SCREEN_SINGLE_PARAM: third
{
   P: ctl 100
   {
      TO: mode_name
      CLF: modes
      APF: inputs
   }
}
