#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.05
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "top_level"

#endregion // Wizard Header Information

#region Wizard Text

T: flash_name "FLASHNAME"
T: empty_choice
T: help_only
H: help_only "Only a help"
T: hidden_name "Hidden"
T: a "A"
T: b "B"
T: list_name "List"
#endregion // Wizard Text

#region Choice List Filter

CLF: nothing ","
#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

LP: lp_x = 0
#endregion //Local Parameters

#region Scripts

SUBROUTINE: sr_ret
{
   RET
}

PSS: pss_shared
{
   CPY hidden lp_x
   CSIV flash_name
}

PSS: pss_local
{
   EXIT
}

FIRST_SCREEN_SCRIPT: pss_local
{
   EXIT
}


#endregion //Scripts


#region Drive Param

VP: hidden
{
   T: hidden_name
   MIN: -5
   VAL: 0
   MAX: 0
   SCALE: 0
   WS: sr_ret
}

P: motor 120

#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Drive Screens

SCREEN_SINGLE_PARAM: first
{
   P: motor
   PSS: pss_local
   NS: second
}

SCREEN_SINGLE_PARAM: second
{
   PRE_SCREEN_SCRIPT: pss_shared
   P: ctl 100
   {
      TO: help_only
      CLF: nothing
   }
   NS: third
}

SCREEN_SINGLE_PARAM: third
{
   VCP: pick
   {
      T: list_name
      H: list_name
      CL: pick_list
      {
         a
         empty_choice
         b*
      }
   }
   PSS: pss_shared
}


#endregion //Drive Screens

