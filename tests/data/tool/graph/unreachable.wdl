# A flow with a branch and a screen that nothing leads to.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.0
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 4.10
FILE_NAME: "graph"

T: welcome "Welcome to the \"flow\" test.\nPress OK to go on."
T: bye "Done"
T: kind_text "Kind"
T: one "One"
T: two "Two"
T: speed_text "Speed"

LP: lp_kind = 0

SCREEN_OVERLAY: welcome_screen
{
   OVERLAY: o_welcome
   {
      T: welcome
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: kind_screen
}

SCREEN_SINGLE_PARAM: kind_screen
{
   VCP: kind
   {
      T: kind_text
      CL: kinds
      {
         one*
         two
      }
   }
   NSS: choose
   {
      BEQ kind lp_kind 1
      SNS speed_screen
      BRA 2
      LBL 1
      SNS done
      LBL 2
   }
}

SCREEN_DUAL_PARAM: speed_screen
{
   P: speed 120
   {
      TO: speed_text
   }
   P: ramp 341
   {
      TO: speed_text
   }
   NS: done
}

SCREEN_SINGLE_PARAM: forgotten
{
   P: limit 410
   {
      TO: speed_text
   }
   NS: done
}

SCREEN_OVERLAY: done
{
   OVERLAY: o_done
   {
      T: bye
      OK_ACTION: EXIT_WIZARD
   }
}
